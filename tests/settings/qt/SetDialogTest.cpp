// The settings dialog: the load at creation and at every showing, the OK rule, promotion of the
// chosen gateway, and the error path; driven with real key and mouse events where a user acts.
#include "settings/qt/setting.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QListWidgetItem>
#include <QPushButton>
#include <QString>
#include <QTest>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "ModalHelper.h"
#include "TempDir.h"
#include "settings/qt/DomainE.h"

namespace {

using tarvelo::testing::CaptureNextMessageBox;
using tarvelo::testing::OnNextModal;
using tarvelo::testing::ReadFileBytes;
using tarvelo::testing::TempWorkingDir;
using tarvelo::testing::WriteFileBytes;

constexpr const char* kDefaultDomainsFile =
    "central.phs.example\r\nkansai.phs.example\r\ntohoku.phs.example\r\n"
    "tokai.phs.example\r\nchugoku.phs.example\r\n";
constexpr const char* kStoredSettings = "me@example.com\r\nsmtp.example\r\n0701234\r\n";

ino_t Inode(const char* path) {
    struct stat status {};
    return ::stat(path, &status) == 0 ? status.st_ino : 0;
}

std::vector<std::string> Items(const QComboBox* box) {
    std::vector<std::string> items;
    for (int i = 0; i < box->count(); ++i) {
        items.push_back(box->itemText(i).toStdString());
    }
    return items;
}

// Shows dialog modally, as the main window does, and runs act from inside its exec().
int ExecWith(QDialog& dialog, const std::function<void(QWidget*)>& act) {
    OnNextModal(act);
    return dialog.exec();
}

class SetDialogTest : public ::testing::Test {
protected:
    TempWorkingDir dir_;
};

TEST_F(SetDialogTest, FirstStartWritesBothFilesWithDefaults) {
    TSetDialog dialog;
    EXPECT_EQ(ReadFileBytes("tvdomain.ini"), kDefaultDomainsFile);
    EXPECT_EQ(ReadFileBytes("tvemail.ini"), "tarvelo@example.com\r\nmail\r\n\r\n");
    EXPECT_EQ(dialog.UserNameText(), "tarvelo@example.com");
    EXPECT_EQ(dialog.SmtpText(), "mail");
    EXPECT_EQ(dialog.ResNoText(), "");
    EXPECT_EQ(dialog.FirstDomainText(), "central.phs.example");
    EXPECT_EQ(dialog.centerAdr->currentIndex(), 0);
    EXPECT_TRUE(dialog.BitBtnOk->isEnabled());
}

TEST_F(SetDialogTest, OkWithTheFirstDomainSelectedWritesOnlyTheSettingsFile) {
    TSetDialog dialog;
    const ino_t domainFile = Inode("tvdomain.ini");
    const ino_t settingsFile = Inode("tvemail.ini");
    // Enter in a field presses the default button.
    ExecWith(dialog, [&dialog](QWidget*) { QTest::keyClick(dialog.UserName, Qt::Key_Return); });
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(Inode("tvdomain.ini"), domainFile);
    EXPECT_EQ(ReadFileBytes("tvdomain.ini"), kDefaultDomainsFile);
    // Rewritten, though unchanged: a save always makes a new file.
    EXPECT_NE(Inode("tvemail.ini"), settingsFile);
    EXPECT_EQ(ReadFileBytes("tvemail.ini"), "tarvelo@example.com\r\nmail\r\n\r\n");
}

struct PromotionCase {
    const char* name;
    const char* domainFile;
    int downKeys;  // presses of the down arrow on centerAdr, each a pick by the user
    std::vector<std::string> promoted;
};

void PrintTo(const PromotionCase& row, std::ostream* out) {
    *out << row.name;
}

const PromotionCase kPromotionCases[] = {
    {"ThirdOfFive", "A\r\nB\r\nC\r\nD\r\nE\r\n", 2, {"C", "B", "A", "D", "E"}},
    {"LastOfThree", "A\r\nB\r\nC\r\n", 2, {"C", "B", "A"}},
    {"EmptyEntry", "A\r\n\r\nC\r\n", 1, {"", "A", "C"}},
};

class PromotionTest : public ::testing::TestWithParam<PromotionCase> {
protected:
    TempWorkingDir dir_;
};

TEST_P(PromotionTest, OkSwapsThePickedDomainIntoFirstPlace) {
    WriteFileBytes("tvdomain.ini", GetParam().domainFile);
    WriteFileBytes("tvemail.ini", kStoredSettings);
    TSetDialog dialog;
    const PromotionCase& row = GetParam();
    ExecWith(dialog, [&dialog, &row](QWidget*) {
        for (int i = 0; i < row.downKeys; ++i) {
            QTest::keyClick(dialog.centerAdr, Qt::Key_Down);
        }
        QTest::mouseClick(dialog.BitBtnOk, Qt::LeftButton);
    });
    std::string expectedFile;
    for (const std::string& domain : GetParam().promoted) {
        expectedFile += domain + "\r\n";
    }
    EXPECT_EQ(ReadFileBytes("tvdomain.ini"), expectedFile);
    EXPECT_EQ(Items(dialog.centerAdr), GetParam().promoted);
    EXPECT_EQ(dialog.FirstDomainText(), GetParam().promoted.front());
    EXPECT_EQ(ReadFileBytes("tvemail.ini"), kStoredSettings);
    dialog.show();
    EXPECT_EQ(dialog.centerAdr->currentIndex(), 0);
    dialog.hide();
}

INSTANTIATE_TEST_SUITE_P(Picks, PromotionTest, ::testing::ValuesIn(kPromotionCases),
                         [](const ::testing::TestParamInfo<PromotionCase>& row) {
                             return std::string(row.param.name);
                         });

struct EnableCase {
    const char* name;
    std::function<void(TSetDialog&)> act;
    bool enabled;
};

void PrintTo(const EnableCase& row, std::ostream* out) {
    *out << row.name;
}

// With three empty stored values the load changes no field, so only the user can enable OK.
const EnableCase kEnableCases[] = {
    {"NothingDone", [](TSetDialog&) {}, false},
    {"TypedInUserName", [](TSetDialog& d) { QTest::keyClicks(d.UserName, "a"); }, true},
    {"TypedInSmtp", [](TSetDialog& d) { QTest::keyClicks(d.Smtp, "m"); }, true},
    {"TypedInResNo", [](TSetDialog& d) { QTest::keyClicks(d.ResNo, "1"); }, true},
    {"PickedADomain", [](TSetDialog& d) { QTest::keyClick(d.centerAdr, Qt::Key_Down); }, true},
    {"FocusMovedOnly", [](TSetDialog& d) { QTest::keyClick(d.UserName, Qt::Key_Tab); }, false},
};

class EnableOkTest : public ::testing::TestWithParam<EnableCase> {
protected:
    TempWorkingDir dir_;
};

TEST_P(EnableOkTest, OkStartsDisabledWithThreeEmptyValues) {
    WriteFileBytes("tvemail.ini", "\r\n\r\n\r\n");
    TSetDialog dialog;
    bool enabled = false;
    const EnableCase& row = GetParam();
    const int result = ExecWith(dialog, [&dialog, &enabled, &row](QWidget*) {
        row.act(dialog);
        enabled = dialog.BitBtnOk->isEnabled();
        // Enter presses OK only while it is enabled; Esc always cancels.
        QTest::keyClick(dialog.ResNo, Qt::Key_Return);
        if (dialog.isVisible()) {
            QTest::keyClick(dialog.ResNo, Qt::Key_Escape);
        }
    });
    EXPECT_EQ(enabled, GetParam().enabled);
    EXPECT_EQ(result, enabled ? QDialog::Accepted : QDialog::Rejected);
}

INSTANTIATE_TEST_SUITE_P(Changes, EnableOkTest, ::testing::ValuesIn(kEnableCases),
                         [](const ::testing::TestParamInfo<EnableCase>& row) {
                             return std::string(row.param.name);
                         });

TEST_F(SetDialogTest, ALoadThatChangesAFieldEnablesOkForGood) {
    WriteFileBytes("tvemail.ini", "\r\n\r\n\r\n");
    TSetDialog dialog;
    dialog.show();
    EXPECT_FALSE(dialog.BitBtnOk->isEnabled());
    dialog.hide();
    WriteFileBytes("tvemail.ini", "\r\nsmtp.example\r\n\r\n");
    dialog.show();
    EXPECT_EQ(dialog.SmtpText(), "smtp.example");
    EXPECT_TRUE(dialog.BitBtnOk->isEnabled());
    dialog.hide();
    WriteFileBytes("tvemail.ini", "\r\n\r\n\r\n");
    dialog.show();
    EXPECT_TRUE(dialog.BitBtnOk->isEnabled());
    dialog.hide();
}

TEST_F(SetDialogTest, CancelKeepsTypedTextsInUseUntilTheNextShowing) {
    WriteFileBytes("tvemail.ini", kStoredSettings);
    TSetDialog dialog;
    ExecWith(dialog, [&dialog](QWidget*) {
        QTest::keyClick(dialog.Smtp, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(dialog.Smtp, "relay.example");
        QTest::keyClick(dialog.Smtp, Qt::Key_Escape);
    });
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.SmtpText(), "relay.example");
    EXPECT_EQ(ReadFileBytes("tvemail.ini"), kStoredSettings);
    dialog.show();
    EXPECT_EQ(dialog.SmtpText(), "smtp.example");
    dialog.hide();
}

TEST_F(SetDialogTest, LineEndsOfAnyKindLoadAndExtraLinesAreDroppedAtOk) {
    WriteFileBytes("tvemail.ini", "me@example.com\nsmtp.example\r0701234\r\nfour\nfive");
    TSetDialog dialog;
    EXPECT_EQ(dialog.UserNameText(), "me@example.com");
    EXPECT_EQ(dialog.SmtpText(), "smtp.example");
    EXPECT_EQ(dialog.ResNoText(), "0701234");
    ExecWith(dialog, [&dialog](QWidget*) { QTest::mouseClick(dialog.BitBtnOk, Qt::LeftButton); });
    EXPECT_EQ(ReadFileBytes("tvemail.ini"), kStoredSettings);
}

TEST_F(SetDialogTest, ShiftJisValuesReachTheFieldsAndGoBackByteForByte) {
    // ソ (0x835C, trail byte "\") and 返答 (0x95D4 0x9A93): the bytes that a careless
    // conversion would split or escape.
    const std::string stored = "\x83\x5C@example.com\r\nmail\r\n\x95\xD4\x93\x9A\r\n";
    WriteFileBytes("tvemail.ini", stored);
    TSetDialog dialog;
    EXPECT_EQ(dialog.UserName->text(), QString::fromUtf8("ソ@example.com"));
    EXPECT_EQ(dialog.ResNo->text(), QString::fromUtf8("返答"));
    EXPECT_EQ(dialog.ResNoText(), "\x95\xD4\x93\x9A");
    dialog.BitBtnOkClick();
    EXPECT_EQ(ReadFileBytes("tvemail.ini"), stored);
}

struct UntouchedCase {
    const char* name;
    const char* typedInResNo;  // nullptr: no field edited
    int pickedDomain;          // -1: none picked
    std::string settingsAfter;
    std::string domainsAfter;
};

void PrintTo(const UntouchedCase& row, std::ostream* out) {
    *out << row.name;
}

// Bytes a hand edit may leave: 0xED40 is an NEC duplicate of 0xFA5C, 0xFF 0x80 and a lone lead
// byte 0x82 are no Shift-JIS at all. What the user did not edit goes back as it came.
// Zero bytes, and a reply number longer than a line edit holds by default (32,767), too.
const std::string kLongNumber(40000, '1');
const std::string kOddSettings =
    "\xED\x40@example.com\r\n\xFF\x80mail\r\n\x82" + std::string(1, '\0') + kLongNumber + "\r\n";
const std::string kOddDomains = "\xED\x40.example\r\nB\xFF\x80\r\n" + std::string("C\0D\r\n", 5);

const UntouchedCase kUntouchedCases[] = {
    {"NothingEdited", nullptr, -1, kOddSettings, kOddDomains},
    {"OneFieldEdited", "070", -1, "\xED\x40@example.com\r\n\xFF\x80mail\r\n070\r\n", kOddDomains},
    {"DomainPromoted", nullptr, 1, kOddSettings,
     "B\xFF\x80\r\n\xED\x40.example\r\n" + std::string("C\0D\r\n", 5)},
    {"LongValueEdited", kLongNumber.c_str(), -1,
     "\xED\x40@example.com\r\n\xFF\x80mail\r\n" + kLongNumber + "\r\n", kOddDomains},
};

class UntouchedTest : public ::testing::TestWithParam<UntouchedCase> {
protected:
    TempWorkingDir dir_;
};

TEST_P(UntouchedTest, OkWritesWhatTheUserLeftAloneByteForByte) {
    const UntouchedCase& row = GetParam();
    WriteFileBytes("tvemail.ini", kOddSettings);
    WriteFileBytes("tvdomain.ini", kOddDomains);
    TSetDialog dialog;
    EXPECT_EQ(dialog.UserNameText(), "\xED\x40@example.com") << "sent as stored, too";
    ExecWith(dialog, [&](QWidget*) {
        if (row.typedInResNo != nullptr) {
            dialog.ResNo->setText(QString::fromUtf8(row.typedInResNo));
        }
        if (row.pickedDomain >= 0) {
            dialog.centerAdr->setCurrentIndex(row.pickedDomain);
        }
        QTest::mouseClick(dialog.BitBtnOk, Qt::LeftButton);
    });
    EXPECT_EQ(ReadFileBytes("tvemail.ini"), row.settingsAfter);
    EXPECT_EQ(ReadFileBytes("tvdomain.ini"), row.domainsAfter);
}

INSTANTIATE_TEST_SUITE_P(Edits, UntouchedTest, ::testing::ValuesIn(kUntouchedCases),
                         [](const auto& param) { return std::string(param.param.name); });

struct UnencodableCase {
    const char* name;
    QLineEdit* TSetDialog::*field;
    const char* utf8;
    const char* message;
};

void PrintTo(const UnencodableCase& row, std::ostream* out) {
    *out << row.name;
}

const UnencodableCase kUnencodableCases[] = {
    {"AccentInAddress", &TSetDialog::UserName, "café@example.com",
     "Mail Address に Shift-JIS で書けない文字「é」があります"},
    {"EmojiInServer", &TSetDialog::Smtp, "mail\U0001F600",
     "SMTP Server に Shift-JIS で書けない文字「\U0001F600」があります"},
    {"RightToLeftMarkInReplyNumber", &TSetDialog::ResNo, "070\u200F",
     "返答先番号 に Shift-JIS で書けない文字「\u200F」があります"},
    {"ParametersInAddress", &TSetDialog::UserName, "x@y.example> NOTIFY=NEVER",
     "Mail Address に空白、<、> や制御文字は使えません"},
};

class UnencodableTest : public ::testing::TestWithParam<UnencodableCase> {
protected:
    TempWorkingDir dir_;
};

// A character that the file cannot hold would be saved as a stray byte: OK refuses, says why and
// keeps the dialog open with the typed text, and nothing is written.
TEST_P(UnencodableTest, OkRefusesAndKeepsTheDialogOpen) {
    const UnencodableCase& row = GetParam();
    WriteFileBytes("tvemail.ini", kStoredSettings);
    WriteFileBytes("tvdomain.ini", "A\r\nB\r\n");
    TSetDialog dialog;
    QString message;
    bool openAfterOk = false;
    ExecWith(dialog, [&](QWidget*) {
        (dialog.*row.field)->setText(QString::fromUtf8(row.utf8));
        dialog.centerAdr->setCurrentIndex(1);
        CaptureNextMessageBox(&message);
        QTest::mouseClick(dialog.BitBtnOk, Qt::LeftButton);
        openAfterOk = dialog.isVisible();
        EXPECT_EQ((dialog.*row.field)->text(), QString::fromUtf8(row.utf8));
        QTest::keyClick(dialog.UserName, Qt::Key_Escape);
    });
    EXPECT_EQ(message.toStdString(), row.message);
    EXPECT_TRUE(openAfterOk);
    EXPECT_EQ(ReadFileBytes("tvemail.ini"), kStoredSettings);
    EXPECT_EQ(ReadFileBytes("tvdomain.ini"), "A\r\nB\r\n");
}

INSTANTIATE_TEST_SUITE_P(Fields, UnencodableTest, ::testing::ValuesIn(kUnencodableCases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(SetDialogTest, TwoLineSettingsRaiseTheIndexErrorAtEveryLoad) {
    WriteFileBytes("tvemail.ini", "me@example.com\r\nsmtp.example\r\n");
    QString text;
    CaptureNextMessageBox(&text);
    TSetDialog dialog;
    EXPECT_EQ(text.toStdString(), "ﾘｽﾄのｲﾝﾃﾞｯｸｽが範囲を超えています");
    EXPECT_EQ(dialog.UserNameText(), "me@example.com");
    EXPECT_EQ(dialog.SmtpText(), "smtp.example");
    EXPECT_EQ(dialog.ResNoText(), "");

    // The file is not repaired, and a field past the missing line keeps its text.
    dialog.ResNo->setText(QStringLiteral("0709999"));
    WriteFileBytes("tvemail.ini", "other@example.com\nrelay.example");
    text.clear();
    CaptureNextMessageBox(&text);
    dialog.show();
    dialog.hide();
    EXPECT_EQ(text.toStdString(), "ﾘｽﾄのｲﾝﾃﾞｯｸｽが範囲を超えています");
    EXPECT_EQ(dialog.UserNameText(), "other@example.com");
    EXPECT_EQ(dialog.SmtpText(), "relay.example");
    EXPECT_EQ(dialog.ResNoText(), "0709999");
    EXPECT_EQ(ReadFileBytes("tvemail.ini"), "other@example.com\nrelay.example");
}

TEST_F(SetDialogTest, UnreadableDomainFileStopsTheLoadAndStartUpGoesOn) {
    std::filesystem::create_directory("tvdomain.ini");
    QString text;
    CaptureNextMessageBox(&text);
    TSetDialog dialog;
    EXPECT_EQ(text.toStdString(), "ﾌｧｲﾙ tvdomain.ini は開けません");
    // The rest of the load was skipped: no settings were loaded or written.
    EXPECT_EQ(dialog.SmtpText(), "");
    EXPECT_FALSE(std::filesystem::exists("tvemail.ini"));
}

TEST_F(SetDialogTest, FailedDomainWriteAtOkSkipsTheSettingsAndStillCloses) {
    WriteFileBytes("tvdomain.ini", "A\r\nB\r\n");
    WriteFileBytes("tvemail.ini", kStoredSettings);
    TSetDialog dialog;
    const ino_t settingsFile = Inode("tvemail.ini");
    QString text;
    ExecWith(dialog, [&dialog, &text](QWidget*) {
        QTest::keyClick(dialog.centerAdr, Qt::Key_Down);
        std::filesystem::remove("tvdomain.ini");
        std::filesystem::create_directory("tvdomain.ini");
        CaptureNextMessageBox(&text);
        QTest::mouseClick(dialog.BitBtnOk, Qt::LeftButton);
    });
    EXPECT_EQ(text.toStdString(), "ﾌｧｲﾙ tvdomain.ini を作成できません");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(Inode("tvemail.ini"), settingsFile);
    EXPECT_TRUE(std::filesystem::is_directory("tvdomain.ini"));
}

TEST_F(SetDialogTest, EmptyDomainFileGivesNoGatewayAndNothingToPromote) {
    WriteFileBytes("tvdomain.ini", "");
    TSetDialog dialog;
    EXPECT_EQ(dialog.centerAdr->count(), 0);
    EXPECT_EQ(dialog.centerAdr->currentIndex(), -1);
    EXPECT_EQ(dialog.FirstDomainText(), "");
    dialog.BitBtnOkClick();
    EXPECT_EQ(ReadFileBytes("tvdomain.ini"), "");
}

TEST_F(SetDialogTest, DomainEditPromotesShowsTheEditorAndReloadsTheListOnly) {
    WriteFileBytes("tvdomain.ini", "A\r\nB\r\nC\r\n");
    WriteFileBytes("tvemail.ini", kStoredSettings);
    TSetDialog dialog;
    TDomainEdit editor(&dialog);
    DomainEdit = &editor;
    QString firstInEditor;
    ExecWith(dialog, [&](QWidget*) {
        QTest::keyClick(dialog.centerAdr, Qt::Key_Down);
        for (QLineEdit* field : {dialog.UserName, dialog.Smtp, dialog.ResNo}) {
            QTest::keyClicks(field, "9");
        }
        OnNextModal([&](QWidget* modal) {
            firstInEditor = editor.DomainList->item(0)->text();
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        QTest::mouseClick(dialog.DomainEditBtn, Qt::LeftButton);
        // Back from the editor: what was typed is still there, unsaved.
        EXPECT_EQ(dialog.UserNameText(), "me@example.com9");
        EXPECT_EQ(dialog.SmtpText(), "smtp.example9");
        EXPECT_EQ(dialog.ResNoText(), "07012349");
        EXPECT_TRUE(dialog.BitBtnOk->isEnabled());
        EXPECT_EQ(dialog.centerAdr->currentIndex(), 0);
        QTest::keyClick(dialog.UserName, Qt::Key_Escape);
    });
    DomainEdit = nullptr;
    EXPECT_EQ(firstInEditor, QStringLiteral("B"));
    // The promotion was written at once and stays though the dialog was cancelled.
    EXPECT_EQ(ReadFileBytes("tvdomain.ini"), "B\r\nA\r\nC\r\n");
    EXPECT_EQ(dialog.FirstDomainText(), "B");
}

}  // namespace
