// The wiring of a sending through the real windows: clicks on the send button and the progress
// dialog's button, against a scripted SMTP server on 127.0.0.1:25 in the test's own network
// namespace. The conversation itself is tested in the core (SmtpConversationTest.cpp).

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "ScriptedServer.h"
#include "SendFixture.h"
#include "app/qt/MailImageEdit.h"
#include "app/qt/TvMain.h"
#include "mail/qt/Send.h"
#include "settings/qt/setting.h"
#include "ui/qt/QtShiftJis.h"

namespace tarvelo {
namespace {

using namespace std::chrono_literals;
using testing::ScriptedServer;
using testing::Seen;
using testing::ServeGoodly;
using testing::ServerConnection;
using testing::ServeUpToQuit;

class SendSessionTest : public testing::SendFixture {};

TEST_F(SendSessionTest, HappyPathSendsTheExactConversation) {
    ScriptedServer server(ServeGoodly);
    const Seen seen = Send();

    EXPECT_EQ(seen.sendLabel, Text("送信しました"));
    EXPECT_TRUE(seen.state.isEmpty());
    EXPECT_EQ(seen.button, Text("OK"));
    EXPECT_TRUE(seen.errorBox.isEmpty());
    ExpectSessionClosed();
    EXPECT_EQ(server.Received(),
              "HELO example.com\r\nRSET\r\nMAIL FROM:<taro@example.com>\r\n"
              "RCPT TO:<tv@gw.phs.test>\r\nDATA\r\n" +
                  MailData() + "QUIT\r\n");
    ASSERT_GE(Form1->MailLines().size(), 9u);
    EXPECT_EQ(Form1->MailLines()[3], "To: tv@gw.phs.test");
    EXPECT_EQ(Form1->MailLines()[7], "PHSNO=1234");
    EXPECT_EQ(Form1->MailLines()[8], "MSG=\x1B$B#A#B#C\x1B(J");
    const std::string log = Log();
    EXPECT_EQ(log.find(" R:220 mail.example.com ESMTP\n S:HELO example.com\n R:250 "), 0u) << log;
    EXPECT_NE(log.find("\n S:\n"), std::string::npos) << "the empty line after the header";
    EXPECT_NE(log.find("\n S:.\n R:250 queued\n S:QUIT\n R:221 bye\n"), std::string::npos) << log;
}

// Every command's state fits the dialog's one row, at every moment it is on screen: the dialog
// never grows for a line sent.
TEST_F(SendSessionTest, EveryCommandStaysOnOneRow) {
    ScriptedServer server(ServeGoodly);
    std::vector<std::string> grown;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&grown] {
        if (SendDlg != nullptr && SendDlg->isVisible() &&
            SendDlg->State->text().startsWith(QLatin1String("S:")) &&
            (SendDlg->height() != 116 ||
             SendDlg->State->height() > SendDlg->State->fontMetrics().height())) {
            grown.push_back(SendDlg->State->text().toStdString() + " " +
                            std::to_string(SendDlg->State->width()) + "x" +
                            std::to_string(SendDlg->State->height()));
        }
    });
    watch.start(0);
    const Seen seen = Send();
    EXPECT_EQ(seen.sendLabel, Text("送信しました"));
    EXPECT_EQ(grown, std::vector<std::string>());
}

// A reply that is not a number: its box once, then the error end; the next sending starts
// afresh and goes through.
TEST_F(SendSessionTest, NonNumericReplyShowsItsBoxOnceAndEndsTheSending) {
    {
        ScriptedServer server([](ServerConnection& c) {
            c.Send("hello there\r\n");
            c.Stall(500ms);
            c.Send("hello again\r\n");
            c.Stall(500ms);
        });
        const Seen seen = Send();
        EXPECT_EQ(seen.errorBox, Text("'hel' は整数ではありません"));
        EXPECT_EQ(seen.sendLabel, Text("送信エラー"));
        EXPECT_EQ(seen.state, Text("R:hello there"));
        ExpectSessionClosed();
        EXPECT_EQ(server.Received(), "");
        EXPECT_TRUE(Form1->LogLines().empty()) << "an unreadable reply is not logged";
    }
    ScriptedServer server(ServeGoodly);
    const Seen seen = Send();
    EXPECT_EQ(seen.sendLabel, Text("送信しました"));
    EXPECT_TRUE(seen.errorBox.isEmpty());
    EXPECT_EQ(server.Received().find("HELO example.com\r\n"), 0u);
}

// Once the server has taken the end of the data the mail is delivered: the dialog says so at
// once, so that a user tired of waiting for the reply to QUIT does not send it again.
TEST_F(SendSessionTest, DeliveredMailSaysSoWhileQuitAwaitsItsReply) {
    ScriptedServer server([](ServerConnection& c) {
        if (ServeUpToQuit(c)) {
            c.Stall(3s);
        }
    });
    const auto start = std::chrono::steady_clock::now();
    const Seen seen = Send([] { return SendDlg->CancelBtn->text() == "OK"; });
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2500ms) << "not after QUIT's bound";
    EXPECT_EQ(seen.sendLabel, Text("送信しました"));
    EXPECT_EQ(seen.button, Text("OK"));
    ExpectSessionClosed();
    EXPECT_NE(Log().find("\n S:QUIT"), std::string::npos);
}

// A server that sends a byte every 50 ms and never a line end: the bound counts from the first
// byte and is not restarted by the others, so the sending ends long before the server stops.
TEST_F(SendSessionTest, TricklingReplyEndsWithTheReplyTimeOut) {
    Form1->sendBounds.reply = 300ms;
    ScriptedServer server(
        [](ServerConnection& c) { c.SendByteByByte("220 " + std::string(200, 'x'), 50ms); });
    const auto start = std::chrono::steady_clock::now();
    const Seen seen = Send();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s) << "the server trickles for 10 s";
    EXPECT_EQ(seen.sendLabel, Text("送信エラー"));
    EXPECT_TRUE(seen.state.startsWith(
        Text("サーバが時間内に応えません (the server's reply did not complete in time; what "
             "arrived: 220 xx")))
        << seen.state.toStdString();
    ExpectSessionClosed();
    EXPECT_EQ(Log(), " E:" + ToShiftJis(seen.state) + "\n");
}

// A port 25 whose accept queue is full: the connection is never made. The dialog is up at once
// with the server's name, and Cancel ends the sending at once.
TEST_F(SendSessionTest, ConnectingNeverHoldsTheWindow) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(25);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::vector<int> sockets{::socket(AF_INET, SOCK_STREAM, 0)};
    ASSERT_EQ(::bind(sockets[0], reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(sockets[0], 0), 0);
    for (int filler = 0; filler < 4; ++filler) {
        sockets.push_back(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0));
        ::connect(sockets.back(), reinterpret_cast<sockaddr*>(&address), sizeof address);
    }
    const auto start = std::chrono::steady_clock::now();
    const Seen seen = Send([] { return true; });
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_EQ(seen.sendLabel, Text("接続中"));
    EXPECT_EQ(seen.state, Text("Connecting 127.0.0.1..."));
    EXPECT_EQ(seen.button, Text("ｷｬﾝｾﾙ"));
    ExpectSessionClosed();
    for (const int fd : sockets) {
        ::close(fd);
    }
}

// A CA file that is a pipe: its box, before anything is connected or the dialog shown.
TEST_F(SendSessionTest, ACaFileThatIsNoFileIsRefusedInABox) {
    ASSERT_EQ(::mkfifo("ca.fifo", 0600), 0);
    testing::WriteFileBytes("tvsubmit.ini", "\r\nstarttls\r\n\r\nca.fifo\r\n");
    QString box;
    QPointer<QTimer> capture = testing::CaptureNextMessageBox(&box, 5000);
    QTest::mouseClick(Form1->sendButton, Qt::LeftButton);
    delete capture.data();
    EXPECT_EQ(box, Text("CA ﾌｧｲﾙ ca.fifo を使えません: not a regular file"));
    ExpectSessionClosed();
}

TEST_F(SendSessionTest, CancelDuringTheConversationClosesTheConnection) {
    ScriptedServer server([](ServerConnection& c) { c.Stall(2s); });
    const Seen seen = Send([] { return SendDlg->SendLabel->text() == Text("送信中"); });
    EXPECT_EQ(seen.sendLabel, Text("送信中"));
    EXPECT_EQ(seen.state, Text("Connecting 127.0.0.1..."));
    EXPECT_EQ(seen.button, Text("ｷｬﾝｾﾙ"));
    EXPECT_TRUE(seen.errorBox.isEmpty());
    ExpectSessionClosed();
    EXPECT_TRUE(Form1->LogLines().empty());
}

TEST_F(SendSessionTest, RefusedConnectionSaysWhy) {
    const Seen seen = Send();
    EXPECT_EQ(seen.sendLabel, Text("接続できませんでした"));
    EXPECT_EQ(seen.state, Text("サーバに接続できません (127.0.0.1:25: connection refused)"));
    EXPECT_EQ(seen.button, Text("OK"));
    ExpectSessionClosed();
    EXPECT_EQ(Log(), " E:" + ToShiftJis(seen.state) + "\n");
    EXPECT_GE(Form1->MailLines().size(), 9u) << "the mail is assembled before connecting";
}

}  // namespace
}  // namespace tarvelo
