// The windows made afresh for each test, ready to send "abc" to 1234 through 127.0.0.1:25, and
// a user who clicks the send button and then the progress dialog's button.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QString>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <chrono>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>

#include "ModalHelper.h"
#include "ScriptedServer.h"
#include "TempDir.h"
#include "Typing.h"
#include "app/qt/Startup.h"
#include "app/qt/TvMain.h"
#include "mail/SmtpConversation.h"
#include "mail/Socket.h"
#include "mail/qt/Send.h"
#include "settings/LineList.h"
#include "settings/SettingsFiles.h"
#include "settings/qt/setting.h"
#include "ui/qt/Controls.h"

namespace tarvelo::testing {

// What the user saw when the sending ended, and what stood afterwards.
struct Seen {
    QString sendLabel;
    QString state;
    QString button;
    QString errorBox;
};

class SendFixture : public ::testing::Test {
protected:
    void SetUp() override {
        // Not one of the placeholders, to which nothing is sent.
        WriteLineList(kDomainFileName, {"gw.phs.test"});
        CreateWindows();
        Form1->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form1));
        // As the user gives them: typed into the settings dialog, kept by its OK.
        OnNextModal([](QWidget*) {
            for (QLineEdit* field : {SetDialog->UserName, SetDialog->Smtp}) {
                field->selectAll();
            }
            TypeText(SetDialog->UserName, QStringLiteral("taro@example.com"));
            TypeText(SetDialog->Smtp, QStringLiteral("127.0.0.1"));
            QTest::mouseClick(SetDialog->BitBtnOk, Qt::LeftButton);
        });
        QTest::mouseClick(Form1->SetBtn, Qt::LeftButton);
        ASSERT_FALSE(SetDialog->isVisible());
        TypeText(Form1->PhsNo, QStringLiteral("1234"));
        TypeText(Form1->MailMes, QStringLiteral("abc"));
        ASSERT_TRUE(Form1->sendButton->isEnabled());
    }
    void TearDown() override { DestroyWindows(); }

    // Clicks the send button; once the dialog is up, waits until done() says so (by default,
    // until the sending has ended), then clicks the dialog's button.
    static Seen Send(std::function<bool()> done = [] {
        return SendDlg->CancelBtn->text() == "OK" && !Form1->Timer1->isActive();
    }) {
        Seen seen;
        OnNextModal([&seen, done](QWidget*) {
            auto* poll = new QTimer(SendDlg);
            QObject::connect(poll, &QTimer::timeout, poll, [poll, &seen, done] {
                if (QApplication::activeModalWidget() != SendDlg || !done()) {
                    return;
                }
                poll->stop();
                poll->deleteLater();
                seen.sendLabel = SendDlg->SendLabel->text();
                seen.state = SendDlg->State->text();
                seen.button = SendDlg->CancelBtn->text();
                QTest::mouseClick(SendDlg->CancelBtn, Qt::LeftButton);
            });
            poll->start(10);
        });
        QPointer<QTimer> capture = CaptureNextMessageBox(&seen.errorBox, 20000);
        QTest::mouseClick(Form1->sendButton, Qt::LeftButton);
        delete capture.data();
        return seen;
    }

    static void ExpectSessionClosed() {
        EXPECT_FALSE(Form1->Sending());
        EXPECT_FALSE(Form1->Timer1->isActive());
        EXPECT_TRUE(Form1->sendButton->isEnabled());
        // A sending refused before it began made no progress dialog.
        EXPECT_TRUE(SendDlg == nullptr || !SendDlg->isVisible());
    }

    static std::string Log() {
        std::string joined;
        for (const std::string& line : Form1->LogLines()) {
            joined += line + "\n";
        }
        return joined;
    }

    static std::string MailData() {
        std::string data;
        for (const std::string& line : Form1->MailLines()) {
            data += line + "\r\n";
        }
        return data + ".\r\n";
    }

    TempWorkingDir dir_;
};

// A server that takes the mail: the greeting, then a reply to each command up to the end of the
// data; true when it has read what came after that (QUIT).
inline bool ServeUpToQuit(ServerConnection& c) {
    c.Send("220 mail.example.com ESMTP\r\n");
    for (const char* reply : {"250 mail.example.com\r\n", "250 reset\r\n", "250 sender ok\r\n",
                              "250 recipient ok\r\n", "354 go ahead\r\n"}) {
        if (c.ReadLine().empty()) {
            return false;
        }
        c.Send(reply);
    }
    if (!c.ReadData().empty()) {
        c.Send("250 queued\r\n");
    }
    return !c.ReadLine().empty();
}

// A server that takes everything and answers QUIT.
inline void ServeGoodly(ServerConnection& c) {
    if (ServeUpToQuit(c)) {
        c.Send("221 bye\r\n");
    }
}

}  // namespace tarvelo::testing
