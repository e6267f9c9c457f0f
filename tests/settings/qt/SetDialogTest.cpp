// The settings dialog's wiring: its controls to its form (settings/SettingsForm.h, whose rules
// tests/settings/SettingsFormTest.cpp tests) and back, the keys, the error path, the question
// and the domain editor; driven with real key and mouse events where a user acts.
#include "settings/qt/setting.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QListWidgetItem>
#include <QMessageBox>
#include <QPushButton>
#include <QString>
#include <QStringList>
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

// The load at creation is read before the controls exist, and they show it at their first
// showing even when that showing's own load fails.
TEST_F(SetDialogTest, WhatCreationLoadedIsReadAtOnceAndShownAtTheFirstShowing) {
    WriteFileBytes("tvemail.ini", kStoredSettings);
    TSetDialog dialog;
    ASSERT_EQ(dialog.UserName, nullptr) << "the controls wait for the first showing";
    EXPECT_EQ(dialog.UserNameText(), "me@example.com");
    EXPECT_EQ(dialog.SmtpText(), "smtp.example");
    EXPECT_EQ(dialog.ResNoText(), "0701234");
    EXPECT_EQ(dialog.FirstDomainText(), "central.phs.example");
    std::filesystem::remove("tvdomain.ini");
    std::filesystem::create_directory("tvdomain.ini");
    QString box;
    QStringList shown;
    std::vector<std::string> items;
    bool enabled = false;
    CaptureNextMessageBox(&box);
    OnNextModal(
        [&](QWidget*) {
            for (const QLineEdit* field : {dialog.UserName, dialog.Smtp, dialog.ResNo}) {
                shown << field->text();
            }
            items = Items(dialog.centerAdr);
            enabled = dialog.BitBtnOk->isEnabled();
            QTest::keyClick(dialog.UserName, Qt::Key_Escape);
        },
        5000, [&dialog](QWidget* modal) { return modal == &dialog; });
    dialog.exec();
    EXPECT_EQ(box.toStdString(), "ﾌｧｲﾙ tvdomain.ini は開けません");
    EXPECT_EQ(shown, (QStringList{"me@example.com", "smtp.example", "0701234"}));
    EXPECT_EQ(items.size(), 5u);
    EXPECT_EQ(items.front(), "central.phs.example");
    EXPECT_TRUE(enabled);
}

TEST_F(SetDialogTest, EnterInAFieldPressesOk) {
    WriteFileBytes("tvemail.ini", "a\nb\nc");
    TSetDialog dialog;
    ExecWith(dialog, [&dialog](QWidget*) { QTest::keyClick(dialog.UserName, Qt::Key_Return); });
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(ReadFileBytes("tvemail.ini"), "a\r\nb\r\nc\r\n");
}

// The pick reaches the form, and the promoted list comes back into centerAdr.
TEST_F(SetDialogTest, APickedDomainIsPromotedByOk) {
    WriteFileBytes("tvdomain.ini", "A\r\nB\r\nC\r\n");
    WriteFileBytes("tvemail.ini", kStoredSettings);
    TSetDialog dialog;
    ExecWith(dialog, [&dialog](QWidget*) {
        QTest::keyClick(dialog.centerAdr, Qt::Key_Down);
        QTest::keyClick(dialog.centerAdr, Qt::Key_Down);
        QTest::mouseClick(dialog.BitBtnOk, Qt::LeftButton);
    });
    EXPECT_EQ(ReadFileBytes("tvdomain.ini"), "C\r\nB\r\nA\r\n");
    EXPECT_EQ(Items(dialog.centerAdr), (std::vector<std::string>{"C", "B", "A"}));
    EXPECT_EQ(dialog.centerAdr->currentIndex(), 0);
    EXPECT_EQ(dialog.FirstDomainText(), "C");
}

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

// What the edits show after the load reaches the form: a zero byte, and a value longer than a
// line edit holds by default, go back whole.
const UntouchedCase kUntouchedCases[] = {
    {"NothingEdited", nullptr, -1, kOddSettings, kOddDomains},
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

// A refusal is shown in a message box, and the dialog stays open with the typed text.
TEST_F(SetDialogTest, ARefusedOkKeepsTheDialogOpen) {
    WriteFileBytes("tvemail.ini", kStoredSettings);
    WriteFileBytes("tvdomain.ini", "A\r\nB\r\n");
    TSetDialog dialog;
    QString message;
    bool openAfterOk = false;
    ExecWith(dialog, [&](QWidget*) {
        dialog.UserName->setText(QString::fromUtf8("café@example.com"));
        dialog.centerAdr->setCurrentIndex(1);
        CaptureNextMessageBox(&message);
        QTest::mouseClick(dialog.BitBtnOk, Qt::LeftButton);
        openAfterOk = dialog.isVisible();
        EXPECT_EQ(dialog.UserName->text(), QString::fromUtf8("café@example.com"));
        QTest::keyClick(dialog.UserName, Qt::Key_Escape);
    });
    EXPECT_EQ(message.toStdString(), "Mail Address に Shift-JIS で書けない文字「é」があります");
    EXPECT_TRUE(openAfterOk);
    EXPECT_EQ(ReadFileBytes("tvemail.ini"), kStoredSettings);
    EXPECT_EQ(ReadFileBytes("tvdomain.ini"), "A\r\nB\r\n");
}

// The question about a file changed on disk: its words and three answers in a box, and the
// answer back to the form.
TEST_F(SetDialogTest, AFileChangedOnDiskIsAskedWithThreeAnswers) {
    WriteFileBytes("tvemail.ini", kStoredSettings);
    TSetDialog dialog;
    QString text;
    QStringList answers;
    bool openAfterLoad = false;
    ExecWith(dialog, [&](QWidget*) {
        WriteFileBytes("tvemail.ini", "other@example.com\r\nrelay.example\r\n\r\n");
        OnNextModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            text = box->text();
            for (QAbstractButton* button : box->buttons()) {
                answers << button->text();
            }
            // Enter: the first answer, the default.
            QTest::keyClick(box, Qt::Key_Return);
        });
        QTest::mouseClick(dialog.BitBtnOk, Qt::LeftButton);
        openAfterLoad = dialog.isVisible();
        QTest::keyClick(dialog.UserName, Qt::Key_Escape);
    });
    EXPECT_TRUE(text.startsWith(QString::fromUtf8("ﾌｧｲﾙ tvemail.ini は、")));
    QStringList expected{QString::fromUtf8("読み込む(&L)"), QString::fromUtf8("上書き(&O)"),
                         QString::fromUtf8("ｷｬﾝｾﾙ")};
    answers.sort();
    expected.sort();
    EXPECT_EQ(answers, expected);
    EXPECT_TRUE(openAfterLoad);
    EXPECT_EQ(dialog.UserName->text(), QStringLiteral("other@example.com"));
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
