// The submission settings dialog, reached from the settings dialog: what OK leaves on disk, and
// that the password reaches the sending but no file.
#include "settings/qt/SubmitDialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <string>

#include "ModalHelper.h"
#include "TempDir.h"
#include "settings/qt/PasswordDialog.h"
#include "settings/qt/SubmitPassword.h"
#include "settings/qt/setting.h"

namespace {

using tarvelo::testing::OnNextModal;
using tarvelo::testing::ReadFileBytes;
using tarvelo::testing::TempWorkingDir;

// Both dialogs in a folder of their own, as the program has them.
class SubmitDialogTest : public ::testing::Test {
protected:
    SubmitDialogTest() {
        SetDialog = &settings;
        SubmitDialog = &submit;
    }
    ~SubmitDialogTest() override {
        SubmitDialog = nullptr;
        SetDialog = nullptr;
    }

    TempWorkingDir dir;
    TSetDialog settings;
    TSubmitDialog submit{&settings};
};

TEST_F(SubmitDialogTest, OpensFromTheSettingsAndKeepsThePasswordOutOfEveryFile) {
    const std::string settingsBefore = ReadFileBytes("tvemail.ini");
    bool opened = false;
    OnNextModal([&](QWidget*) {
        OnNextModal([&](QWidget* modal) {
            opened = modal == &submit;
            submit.Port->setValue(465);
            submit.Security->setCurrentIndex(3);
            QTest::keyClicks(submit.Login, "user@example.jp");
            QTest::keyClicks(submit.Password, "pw-in-memory");
            QTest::keyClick(submit.Login, Qt::Key_Return);
        });
        QTest::mouseClick(settings.SubmitBtn, Qt::LeftButton);
        QTest::keyClick(settings.UserName, Qt::Key_Escape);
    });
    settings.exec();

    ASSERT_TRUE(opened);
    EXPECT_EQ(ReadFileBytes("tvsubmit.ini"), "465\r\ntls\r\nuser@example.jp\r\n\r\n");
    EXPECT_EQ(ReadFileBytes("tvemail.ini"), settingsBefore);
    EXPECT_TRUE(submit.Password->text().isEmpty());
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        EXPECT_EQ(ReadFileBytes(entry.path()).find("pw-in-memory"), std::string::npos)
            << entry.path();
    }
    // No store in the tests: kept in memory, and the sending gets it without a question.
    // A question would mean it was lost; it is refused rather than left waiting.
    QPointer<QTimer> question =
        OnNextModal([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    const auto password = tarvelo::SubmitPassword("mail", "user@example.jp", nullptr);
    delete question.data();
    ASSERT_TRUE(password.has_value());
    EXPECT_EQ(password->view(), "pw-in-memory");
}

// A tvsubmit.ini that cannot be read: its box, and the dialog stays closed, so that no OK can
// write defaults over the login, the CA file and the security.
TEST_F(SubmitDialogTest, UnreadableFileStaysAsItWas) {
    const std::string file = "5877x\r\nstarttls\r\nalice@example.jp\r\n/etc/tarvelo/ca.pem\r\n";
    tarvelo::testing::WriteFileBytes("tvsubmit.ini", file);
    QString box;
    bool opened = false;
    OnNextModal([&](QWidget*) {
        QPointer<QTimer> submitShown = OnNextModal(
            [&](QWidget* modal) {
                opened = true;
                static_cast<QDialog*>(modal)->accept();
            },
            2000, [&](QWidget* modal) { return modal == &submit; });
        QPointer<QTimer> capture = tarvelo::testing::CaptureNextMessageBox(&box);
        QTest::mouseClick(settings.SubmitBtn, Qt::LeftButton);
        delete capture.data();
        delete submitShown.data();
        QTest::keyClick(settings.UserName, Qt::Key_Escape);
    });
    settings.exec();

    EXPECT_FALSE(opened);
    EXPECT_EQ(box.toStdString(),
              "ﾌｧｲﾙ tvsubmit.ini のポート番号「5877x」は1～65535 の数ではありません");
    EXPECT_EQ(ReadFileBytes("tvsubmit.ini"), file);
}

// A password that cannot go out gets its box, and the question comes again.
TEST_F(SubmitDialogTest, PromptAsksAgainAfterAnEmptyPassword) {
    int asked = 0;
    QString box;
    QPointer<QTimer> capture;
    QTimer answers;
    QObject::connect(&answers, &QTimer::timeout, [&] {
        auto* prompt = qobject_cast<TPasswordDialog*>(QApplication::activeModalWidget());
        if (prompt == nullptr || !prompt->isVisible()) {
            return;
        }
        if (asked == 0) {
            ++asked;
            capture = tarvelo::testing::CaptureNextMessageBox(&box);
            prompt->BitBtnOk->click();
        } else if (!box.isEmpty()) {
            ++asked;
            prompt->BitBtnCan->click();
        }
    });
    answers.start(10);
    const auto password = tarvelo::SubmitPassword("mail", "nobody@example.jp", nullptr);
    answers.stop();
    delete capture.data();
    EXPECT_FALSE(password.has_value());
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(box.toStdString(), "パスワードが空です");
}

}  // namespace
