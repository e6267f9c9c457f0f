// The settings' edits hold one line: no text that reaches an SMTP command can break it.
#include "ui/qt/Controls.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QString>
#include <QTest>
#include <ostream>

#include "TempDir.h"
#include "settings/qt/DomainE.h"
#include "settings/qt/setting.h"

namespace {

using tarvelo::testing::TempWorkingDir;

struct StripCase {
    const char* name;
    QString input;
    QString kept;
};

void PrintTo(const StripCase& row, std::ostream* out) {
    *out << row.name;
}

const StripCase kStripCases[] = {
    {"PlainTextKept", QStringLiteral("smtp.example"), QStringLiteral("smtp.example")},
    {"TrailingCrLf", QStringLiteral("smtp.example\r\n"), QStringLiteral("smtp.example")},
    {"SmuggledCommand", QStringLiteral("x\r\nRCPT TO:<a@b>"), QStringLiteral("xRCPT TO:<a@b>")},
    {"LoneLfAndCr", QStringLiteral("a\nb\rc"), QStringLiteral("abc")},
    {"ZeroCharacter", QString::fromUtf16(u"a\0b", 3), QStringLiteral("ab")},
    {"UnicodeSeparators", QString::fromUtf16(u"a\u2028b\u2029c"), QStringLiteral("abc")},
    {"BlanksKept", QStringLiteral(" a\tb "), QStringLiteral(" a\tb ")},
};

class StripTest : public ::testing::TestWithParam<StripCase> {};

TEST_P(StripTest, SetAndInsertedTextLoseTheirLineBreaks) {
    QLineEdit edit;
    tarvelo::MakeSingleLine(&edit);
    edit.setText(GetParam().input);
    EXPECT_EQ(edit.text(), GetParam().kept);
    edit.clear();
    edit.insert(GetParam().input);
    EXPECT_EQ(edit.text(), GetParam().kept);
    EXPECT_EQ(edit.cursorPosition(), GetParam().kept.size());
}

INSTANTIATE_TEST_SUITE_P(Texts, StripTest, ::testing::ValuesIn(kStripCases),
                         [](const ::testing::TestParamInfo<StripCase>& row) {
                             return std::string(row.param.name);
                         });

TEST(SingleLineEditTest, PastingALineBreakIntoTheFieldsCannotReachTheWire) {
    TempWorkingDir dir;
    TSetDialog dialog;
    dialog.show();
    TDomainEdit editor;
    for (QLineEdit* edit : {dialog.UserName, dialog.Smtp, dialog.ResNo, editor.NewDomain}) {
        edit->clear();
        QApplication::clipboard()->setText(QStringLiteral("relay.example\r\nQUIT\r\n"));
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(edit->text(), QStringLiteral("relay.exampleQUIT"))
            << edit->objectName().toStdString();
    }
    EXPECT_EQ(dialog.SmtpText(), "relay.exampleQUIT");
}

}  // namespace
