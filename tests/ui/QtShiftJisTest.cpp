#include "ui/QtShiftJis.h"

#include <gtest/gtest.h>

namespace tarvelo {
namespace {

TEST(QtShiftJis, LineBreaksBecomeCrLf) {
    EXPECT_EQ(ToShiftJis(QStringLiteral("A\nB")), "A\r\nB");
    EXPECT_EQ(ToShiftJis(QString(QStringLiteral("A")) + QChar(QChar::ParagraphSeparator) + "B"),
              "A\r\nB");
    EXPECT_EQ(ToShiftJis(QStringLiteral("\n")).size(), 2u);
}

TEST(QtShiftJis, RoundTripsLines) {
    const std::vector<std::string> lines{"PHSNO=1234", "", "MSG=\x83\x41\xB1"};
    const QString text = FromShiftJisLines(lines);
    EXPECT_EQ(text, QString::fromUtf8("PHSNO=1234\n\nMSG=アｱ"));
    EXPECT_EQ(ToShiftJisLines(text), lines);
    EXPECT_TRUE(ToShiftJisLines(QString()).empty());
}

TEST(QtShiftJis, CrLfBecomesOneLineBreak) {
    EXPECT_EQ(FromShiftJis("A\r\nB\rC\nD"), QStringLiteral("A\nB\nC\nD"));
}

}  // namespace
}  // namespace tarvelo
