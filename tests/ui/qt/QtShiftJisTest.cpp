#include "ui/qt/QtShiftJis.h"

#include <gtest/gtest.h>

namespace tarvelo {
namespace {

// The rule itself is tested in the core (Utf8TextToShiftJis); this checks the bridge uses it.
TEST(QtShiftJis, LineBreakOfABoxIsCrLf) {
    EXPECT_EQ(ToShiftJis(QStringLiteral("A\nB")), "A\r\nB");
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
