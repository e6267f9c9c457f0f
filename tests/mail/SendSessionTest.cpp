// The sending through the real windows: clicks on the send button and the progress dialog's
// button, against a scripted SMTP server on 127.0.0.1:25 in the test's own network namespace.
#include "mail/SendSession.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <string>
#include <vector>

#include "ScriptedServer.h"
#include "SendFixture.h"
#include "app/TvMain.h"
#include "mail/Send.h"
#include "settings/setting.h"

namespace tarvelo {
namespace {

using namespace std::chrono_literals;
using testing::Converse;
using testing::Replies;
using testing::ScriptedServer;
using testing::Seen;
using testing::ServerConnection;
using testing::With;

class SendSessionTest : public testing::SendFixture {};

TEST_F(SendSessionTest, HappyPathSendsTheExactConversation) {
    ScriptedServer server([](ServerConnection& c) { Converse(c, Replies{}); });
    const Seen seen = Send();

    EXPECT_EQ(seen.sendLabel, Text("送信しました"));
    EXPECT_TRUE(seen.state.isEmpty());
    EXPECT_EQ(seen.button, Text("OK"));
    EXPECT_TRUE(seen.errorBox.isEmpty());
    ExpectSessionClosed();
    EXPECT_EQ(server.Received(),
              "HELO example.com\r\nRSET\r\nMAIL FROM:<taro@example.com>\r\n"
              "RCPT TO:<tv@central.phs.example>\r\nDATA\r\n" +
                  MailData() + "QUIT\r\n");
    ASSERT_GE(mailLines.size(), 9u);
    EXPECT_EQ(mailLines[3], "To: tv@central.phs.example");
    EXPECT_EQ(mailLines[7], "PHSNO=1234");
    EXPECT_EQ(mailLines[8], "MSG=\x1B$B#A#B#C\x1B(J");
    const std::string log = Log();
    EXPECT_EQ(log.find(" R:220 mail.example.com ESMTP\n S:HELO example.com\n R:250 "), 0u) << log;
    EXPECT_NE(log.find("\n S:\n"), std::string::npos) << "the empty line after the header";
    EXPECT_NE(log.find("\n S:.\n R:250 queued\n S:QUIT\n R:221 bye\n"), std::string::npos) << log;
}

struct RejectCase {
    const char* name;
    Replies replies;
    const char* rejected;  // what State keeps
    const char* lastSent;  // the last command on the wire
};

void PrintTo(const RejectCase& row, std::ostream* out) {
    *out << row.name;
}

class RejectedStepTest : public SendSessionTest,
                         public ::testing::WithParamInterface<RejectCase> {};

TEST_P(RejectedStepTest, EndsWithTheErrorAndSendsNothingMore) {
    const RejectCase& row = GetParam();
    ScriptedServer server([&row](ServerConnection& c) { Converse(c, row.replies); });
    const Seen seen = Send();

    EXPECT_EQ(seen.sendLabel, Text("送信エラー"));
    EXPECT_EQ(seen.state, QString::fromUtf8(row.rejected));
    EXPECT_EQ(seen.button, Text("OK"));
    ExpectSessionClosed();
    const std::string received = server.Received();
    const std::string lastSent = std::string(row.lastSent);
    if (lastSent.empty()) {
        EXPECT_EQ(received, "");
    } else {
        ASSERT_GE(received.size(), lastSent.size());
        EXPECT_EQ(received.substr(received.size() - lastSent.size()), lastSent);
    }
    EXPECT_EQ(received.find("QUIT"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    EveryStep, RejectedStepTest,
    ::testing::Values(
        RejectCase{"Greeting", With(&Replies::greeting, "554 go away\r\n"), "R:554 go away", ""},
        RejectCase{"Greeting421", With(&Replies::greeting, "421 busy\r\n"), "R:421 busy", ""},
        RejectCase{"Helo", With(&Replies::helo, "501 bad\r\n"), "R:501 bad",
                   "HELO example.com\r\n"},
        RejectCase{"Rset", With(&Replies::rset, "500 what\r\n"), "R:500 what", "RSET\r\n"},
        RejectCase{"MailFrom", With(&Replies::mailFrom, "451 later\r\n"), "R:451 later",
                   "MAIL FROM:<taro@example.com>\r\n"},
        RejectCase{"RcptTo", With(&Replies::rcptTo, "550 no such user\r\n"), "R:550 no such user",
                   "RCPT TO:<tv@central.phs.example>\r\n"},
        RejectCase{"RcptTo252", With(&Replies::rcptTo, "252 cannot verify\r\n"),
                   "R:252 cannot verify", "RCPT TO:<tv@central.phs.example>\r\n"},
        RejectCase{"Data", With(&Replies::data, "554 no data\r\n"), "R:554 no data", "DATA\r\n"},
        RejectCase{"EndOfData", With(&Replies::endOfData, "552 too big\r\n"), "R:552 too big",
                   ".\r\n"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(SendSessionTest, RecipientMayBeForwarded251) {
    ScriptedServer server(
        [](ServerConnection& c) { Converse(c, With(&Replies::rcptTo, "251 forwarded\r\n")); });
    EXPECT_EQ(Send().sendLabel, Text("送信しました"));
}

TEST_F(SendSessionTest, AnyReplyToQuitIsSuccess) {
    ScriptedServer server(
        [](ServerConnection& c) { Converse(c, With(&Replies::quit, "500 whatever\r\n")); });
    EXPECT_EQ(Send().sendLabel, Text("送信しました"));
}

TEST_F(SendSessionTest, GreetingWhoseFirstLineArrivesAloneIsOneReply) {
    ScriptedServer server([](ServerConnection& c) {
        c.Send("220-mail.example.com welcome\r\n");
        c.Stall(300ms);
        Converse(c, Replies{});
    });
    const Seen seen = Send();
    EXPECT_EQ(seen.sendLabel, Text("送信しました"));
    const std::string received = server.Received();
    EXPECT_EQ(received.find("HELO"), received.rfind("HELO"));
    EXPECT_EQ(Log().find(" R:220-mail.example.com welcome\n220 mail.example.com ESMTP\n S:HELO"),
              0u)
        << Log();
}

TEST_F(SendSessionTest, MultiLineReplyInOneReadIsLoggedLineByLine) {
    ScriptedServer server([](ServerConnection& c) {
        Converse(c, With(&Replies::helo, "250-mail.example.com\r\n250-PIPELINING\r\n250 OK\r\n"));
    });
    EXPECT_EQ(Send().sendLabel, Text("送信しました"));
    EXPECT_NE(Log().find("\n R:250-mail.example.com\n250-PIPELINING\n250 OK\n S:RSET\n"),
              std::string::npos)
        << Log();
}

TEST_F(SendSessionTest, NonNumericReplyShowsItsBoxAndTheSessionGoesOn) {
    ScriptedServer server([](ServerConnection& c) {
        c.Send("hello there\r\n");
        c.Stall(500ms);
        Converse(c, Replies{});
    });
    const Seen seen = Send();
    EXPECT_EQ(seen.errorBox, Text("'hel' は整数ではありません"));
    EXPECT_EQ(seen.sendLabel, Text("送信しました"));
    EXPECT_EQ(Log().find("hello"), std::string::npos) << "an unreadable reply is not logged";
}

struct CloseCase {
    const char* name;
    int repliesBeforeClose;  // the greeting counts as one
};

void PrintTo(const CloseCase& row, std::ostream* out) {
    *out << row.name;
}

class ServerClosesTest : public SendSessionTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(ServerClosesTest, EndsWithTheErrorWithoutHanging) {
    const int replies = GetParam().repliesBeforeClose;
    ScriptedServer server([replies](ServerConnection& c) {
        const char* script[] = {"220 hi\r\n", "250 a\r\n", "250 b\r\n",
                                "250 c\r\n",  "250 d\r\n", "354 e\r\n"};
        for (int i = 0; i < replies; ++i) {
            c.Send(script[i]);
            if (i + 1 < replies) {
                c.ReadLine();
            }
        }
        if (replies == 6) {
            c.ReadLine();  // half the mail, then gone
        }
    });
    const Seen seen = Send();
    EXPECT_EQ(seen.sendLabel, Text("送信エラー"));
    EXPECT_EQ(seen.button, Text("OK"));
    ExpectSessionClosed();
}

INSTANTIATE_TEST_SUITE_P(EveryStep, ServerClosesTest,
                         ::testing::Values(CloseCase{"BeforeGreeting", 0},
                                           CloseCase{"AfterHelo", 2}, CloseCase{"AfterMail", 4},
                                           CloseCase{"DuringData", 6}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(SendSessionTest, StalledServerEndsWithTheReadTimeOut) {
    Socket::readTimeout = 300ms;
    ScriptedServer server([](ServerConnection& c) {
        c.Send("220 half a li");
        c.Stall(3s);
    });
    const Seen seen = Send();
    EXPECT_EQ(seen.sendLabel, Text("送信エラー"));
    ExpectSessionClosed();
}

TEST_F(SendSessionTest, CancelDuringTheConversationClosesTheConnection) {
    ScriptedServer server([](ServerConnection& c) { c.Stall(2s); });
    const Seen seen = Send([] { return Form1->Timer1->isActive(); });
    EXPECT_EQ(seen.sendLabel, Text("送信中"));
    EXPECT_EQ(seen.state, Text("Connecting 127.0.0.1..."));
    EXPECT_EQ(seen.button, Text("ｷｬﾝｾﾙ"));
    EXPECT_TRUE(seen.errorBox.isEmpty());
    ExpectSessionClosed();
    EXPECT_TRUE(Form1->LogLines().empty());
}

TEST_F(SendSessionTest, RefusedConnectionSaysSoAndLogsNothing) {
    const Seen seen = Send();
    EXPECT_EQ(seen.sendLabel, Text("接続できませんでした"));
    EXPECT_TRUE(seen.state.isEmpty());
    EXPECT_EQ(seen.button, Text("OK"));
    ExpectSessionClosed();
    EXPECT_TRUE(Form1->LogLines().empty());
    EXPECT_GE(mailLines.size(), 9u) << "the mail is assembled before connecting";
}

TEST_F(SendSessionTest, EmptySenderAndEmptyDomainList) {
    SetDialog->UserName->clear();
    SetDialog->centerAdr->clear();
    ScriptedServer server([](ServerConnection& c) { Converse(c, Replies{}); });
    EXPECT_EQ(Send().sendLabel, Text("送信しました"));
    const std::string received = server.Received();
    EXPECT_EQ(received.find("HELO \r\nRSET\r\nMAIL FROM:<>\r\nRCPT TO:<tv@>\r\n"), 0u) << received;
    EXPECT_NE(received.find("From: \r\nTo: tv@\r\n"), std::string::npos);
}

TEST_F(SendSessionTest, BodyLineStartingWithADotIsStuffed) {
    Form1->NonCng->click();
    Form1->MailMes->setPlainText(QStringLiteral("hi\n.\n.QUIT"));
    ScriptedServer server([](ServerConnection& c) { Converse(c, Replies{}); });
    EXPECT_EQ(Send().sendLabel, Text("送信しました"));
    const std::string received = server.Received();
    EXPECT_NE(received.find("\r\nMSG=hi\r\n..\r\n..QUIT\r\n.\r\nQUIT\r\n"), std::string::npos)
        << received;
    EXPECT_NE(Log().find("\n S:..QUIT\n"), std::string::npos) << "the log shows what was sent";
}

TEST_F(SendSessionTest, TwoSendingsInARowEachStartAfresh) {
    {
        ScriptedServer server(
            [](ServerConnection& c) { Converse(c, With(&Replies::helo, "500 no\r\n")); });
        EXPECT_EQ(Send().sendLabel, Text("送信エラー"));
    }
    const std::vector<std::string> first = mailLines;
    ScriptedServer server([](ServerConnection& c) { Converse(c, Replies{}); });
    EXPECT_EQ(Send().sendLabel, Text("送信しました"));
    EXPECT_EQ(mailLines.size(), first.size());
    EXPECT_EQ(server.Received().find("HELO example.com\r\n"), 0u);
}

}  // namespace
}  // namespace tarvelo
