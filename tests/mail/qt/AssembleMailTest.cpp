// What a press of the send button puts into the mail, before any connection is tried. Runs in
// a private network namespace where nothing listens, so every connection is refused at once.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

#include "ModalHelper.h"
#include "TempDir.h"
#include "Typing.h"
#include "app/qt/MailImageEdit.h"
#include "app/qt/Startup.h"
#include "app/qt/TvMain.h"
#include "mail/qt/Send.h"
#include "settings/qt/setting.h"

namespace tarvelo {
namespace {

class AssembleMailTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::WriteFileBytes("tvemail.ini", "hanako@example.com\r\n127.0.0.1\r\n090\r\n");
        testing::WriteFileBytes("tvdomain.ini", "gw.example\r\nother.example\r\n");
        CreateWindows();
        Form1->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form1));
    }
    void TearDown() override { DestroyWindows(); }

    static void PressSend() {
        // Nothing listens on port 25: the dialog says so once the refusal has come.
        testing::OnNextModal([](QWidget*) {
            (void)QTest::qWaitFor(
                [] {
                    return SendDlg->SendLabel->text() == QString::fromUtf8("接続できませんでした");
                },
                5000);
            QTest::mouseClick(SendDlg->CancelBtn, Qt::LeftButton);
        });
        QTest::mouseClick(Form1->sendButton, Qt::LeftButton);
        ASSERT_EQ(SendDlg->SendLabel->text(), QString::fromUtf8("接続できませんでした"));
    }

    testing::TempWorkingDir dir_;
};

TEST_F(AssembleMailTest, HeadersThenTheEncodedMailImage) {
    testing::TypeText(Form1->PhsNo, QStringLiteral("0701"));
    testing::TypeText(Form1->MailMes, QString::fromUtf8("がA"));
    PressSend();

    ASSERT_EQ(Form1->MailLines().size(), 10u);
    EXPECT_EQ(Form1->MailLines()[0], "X-Mailer: Tarvelo from E-Mail Ver 1.1beta1");
    EXPECT_EQ(Form1->MailLines()[1].substr(0, 6), "Date: ");
    EXPECT_EQ(Form1->MailLines()[1].size(), 6u + 31u);
    EXPECT_EQ(Form1->MailLines()[2], "From: hanako@example.com");
    EXPECT_EQ(Form1->MailLines()[3], "To: tv@gw.example");
    EXPECT_EQ(Form1->MailLines()[4], "Mime-Version: 1.0");
    EXPECT_EQ(Form1->MailLines()[5], "Content-Type: text/plain; charset=\"ISO-2022-JP\"");
    EXPECT_EQ(Form1->MailLines()[6], "");
    EXPECT_EQ(Form1->MailLines()[7], "PHSNO=0701");
    EXPECT_EQ(Form1->MailLines()[8], "RESNO=090");
    EXPECT_EQ(Form1->MailLines()[9], "MSG=\x1B$B%+!+#A\x1B(J");
}

// The mail image is the user's to edit: what stands in it when the button is pressed is sent,
// and every press refills Form1->MailLines() whole.
TEST_F(AssembleMailTest, TakesTheMailImageAsEditedByHand) {
    testing::TypeText(Form1->PhsNo, QStringLiteral("1"));
    testing::TypeText(Form1->MailMes, QStringLiteral("A"));
    PressSend();
    ASSERT_EQ(Form1->MailLines().size(), 10u);

    Form1->TvMes->setPlainText(QString::fromUtf8("PHSNO=2\nMSG=ｱ ア"));
    PressSend();
    ASSERT_EQ(Form1->MailLines().size(), 9u);
    EXPECT_EQ(Form1->MailLines()[7], "PHSNO=2");
    EXPECT_EQ(Form1->MailLines()[8], "MSG=\xB1 \x1B$B%\"\x1B(J");
}

// A control character typed into the mail image could not go out as it stands: the press is
// refused with the composition's text, and nothing is sent.
TEST_F(AssembleMailTest, RefusesAControlCharacterTypedIntoTheMailImage) {
    testing::TypeText(Form1->PhsNo, QStringLiteral("1"));
    testing::TypeText(Form1->MailMes, QStringLiteral("A"));
    Form1->TvMes->setPlainText(QString::fromUtf8("PHSNO=2\nMSG=ｱ\tア"));
    QString text;
    testing::CaptureNextMessageBox(&text);
    QTest::mouseClick(Form1->sendButton, Qt::LeftButton);
    EXPECT_EQ(text, QString::fromUtf8("不正な文字がふくまれています"));
    EXPECT_TRUE(SendDlg == nullptr || !SendDlg->isVisible());
    EXPECT_TRUE(Form1->MailLines().empty());
}

}  // namespace
}  // namespace tarvelo
