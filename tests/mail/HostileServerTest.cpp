// The sending through the real windows against servers that misbehave: replies in pieces or
// run together, odd line ends, odd bytes, rejections and hang-ups at every step, silence. One
// table; each row says what the user sees, and every row checks that the session is over
// afterwards (socket closed, timer stopped, the button back) and that the settings files were
// left alone.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "ScriptedServer.h"
#include "SendFixture.h"
#include "TempDir.h"
#include "app/TvMain.h"
#include "mail/Send.h"
#include "mail/SendSession.h"
#include "mail/Socket.h"

namespace tarvelo {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;
using testing::ReadFileBytes;
using testing::ScriptedServer;
using testing::ServerConnection;

// The replies of a server that accepts everything, one per step: the greeting, then the
// answers to HELO, RSET, MAIL, RCPT, DATA, the end of the data and QUIT.
enum Step { kGreeting, kHelo, kRset, kMailFrom, kRcptTo, kData, kEndOfData, kQuit, kSteps };
constexpr const char* kGoodReplies[kSteps] = {
    "220 mail.example.com ESMTP\r\n",
    "250 mail.example.com\r\n",
    "250 reset\r\n",
    "250 sender ok\r\n",
    "250 recipient ok\r\n",
    "354 go ahead\r\n",
    "250 queued\r\n",
    "221 bye\r\n",
};

// What the client sends last before each step's reply: what the server got when a row ends there.
constexpr const char* kCommands[kSteps] = {
    "",
    "HELO example.com\r\n",
    "RSET\r\n",
    "MAIL FROM:<taro@example.com>\r\n",
    "RCPT TO:<tv@central.phs.example>\r\n",
    "DATA\r\n",
    ".\r\n",
    "QUIT\r\n",
};

constexpr const char* kConnecting = "Connecting 127.0.0.1...";

using Script = ScriptedServer::Script;
using Act = std::function<void(ServerConnection&)>;
using Sender = std::function<void(ServerConnection&, const std::string&)>;

void Plainly(ServerConnection& c, const std::string& reply) {
    c.Send(reply);
}

// Reads each command from step from on and answers it as the good server does.
void PlayOn(ServerConnection& c, int from, const Sender& send = Plainly) {
    for (int i = from; i < kSteps; ++i) {
        if ((i == kEndOfData ? c.ReadData() : c.ReadLine()).empty()) {
            return;
        }
        send(c, kGoodReplies[i]);
    }
}

// The good server, each reply going out through send.
Script Good(Sender send) {
    return [send](ServerConnection& c) {
        send(c, kGoodReplies[kGreeting]);
        PlayOn(c, kHelo, send);
    };
}

// The good server up to step, where act takes the place of its reply.
Script At(Step step, Act act) {
    return [step, act](ServerConnection& c) {
        for (int i = kGreeting; i < kSteps; ++i) {
            if (i != kGreeting && (i == kEndOfData ? c.ReadData() : c.ReadLine()).empty()) {
                return;
            }
            if (i == step) {
                act(c);
                return;
            }
            c.Send(kGoodReplies[i]);
        }
    };
}

Act Reply(std::string reply) {
    return [reply](ServerConnection& c) { c.Send(reply); };
}

Act ReplyAndHangUp(std::string reply) {
    return [reply](ServerConnection& c) {
        c.Send(reply);
        c.Hangup();
    };
}

void HangUp(ServerConnection& c) {
    c.Hangup();
}

void OneByteAtATime(ServerConnection& c, const std::string& reply) {
    c.SendByteByByte(reply, 1ms);
}

void LineFeedOnly(ServerConnection& c, const std::string& reply) {
    c.Send(reply.substr(0, reply.size() - 2) + "\n");
}

void CodeOnly(ServerConnection& c, const std::string& reply) {
    c.Send(reply.substr(0, 3) + "\r\n");
}

struct HostileCase {
    std::string name;
    Script script;
    // What the user sees when pressing the dialog's button.
    const char* sendLabel;
    std::string state;
    const char* button;
    const char* errorBox = "";
    // The end of what the server received (nothing at all when empty).
    std::string lastSent;
    // Something the debug log must hold, when not empty.
    std::string logged = {};
    // When set, the user gives up once State has shown this for half a second, with the
    // conversation still running; otherwise the user waits until the button reads "OK".
    const char* cancelAt = nullptr;
    std::chrono::milliseconds readTimeout = 2s;
};

void PrintTo(const HostileCase& row, std::ostream* out) {
    *out << row.name;
}

const std::string kSuccessEnd = "QUIT\r\n";
const std::string kLongText = "220 " + std::string(4996, 'x');

std::vector<HostileCase> Rows() {
    std::vector<HostileCase> rows = {
        // Replies in pieces, run together, and with odd line ends or bytes.
        {.name = "RepliesOneByteAtATime",
         .script = Good(OneByteAtATime),
         .sendLabel = "送信しました",
         .state = "",
         .button = "OK",
         .lastSent = kSuccessEnd,
         .logged = " R:220 mail.example.com ESMTP\n S:HELO example.com\n R:250 mail.example.com\n"},
        // The reader takes what one read brings as one reply: the early 250 is swallowed with
        // the greeting, and the real answer to HELO comes in its own read.
        {.name = "EarlyReplyRidesWithTheGreeting",
         .script =
             [](ServerConnection& c) {
                 c.Send("220 mail.example.com ESMTP\r\n250 early\r\n");
                 PlayOn(c, kHelo);
             },
         .sendLabel = "送信しました",
         .state = "",
         .button = "OK",
         .lastSent = kSuccessEnd,
         .logged = " R:220 mail.example.com ESMTP\n250 early\n S:HELO example.com\n"
                   " R:250 mail.example.com\n"},
        // A server that answers everything before it is asked: all of it is one reply to the
        // client, which then waits for an answer to HELO that never comes.
        {.name = "AllRepliesInOneRead",
         .script =
             [](ServerConnection& c) {
                 std::string all;
                 for (const char* reply : kGoodReplies) {
                     all += reply;
                 }
                 c.Send(all);
                 c.Stall(10s);
             },
         .sendLabel = "送信中",
         .state = "S:HELO example.com",
         .button = "ｷｬﾝｾﾙ",
         .lastSent = kCommands[kHelo],
         .logged = " R:220 mail.example.com ESMTP\n250 mail.example.com\n250 reset\n",
         .cancelAt = "S:HELO example.com"},
        {.name = "LineFeedOnly",
         .script = Good(LineFeedOnly),
         .sendLabel = "送信しました",
         .state = "",
         .button = "OK",
         .lastSent = kSuccessEnd,
         .logged = " R:220 mail.example.com ESMTP\n S:HELO example.com\n R:250 mail.example.com\n"},
        {.name = "BareCodes",
         .script = Good(CodeOnly),
         .sendLabel = "送信しました",
         .state = "",
         .button = "OK",
         .lastSent = kSuccessEnd,
         .logged = " R:220\n S:HELO example.com\n R:250\n S:RSET\n"},
        {.name = "NulInTheText",
         .script =
             [](ServerConnection& c) {
                 c.Send("220 mail\0server\r\n"s);
                 PlayOn(c, kHelo);
             },
         .sendLabel = "送信しました",
         .state = "",
         .button = "OK",
         .lastSent = kSuccessEnd,
         .logged = " R:220 mail\n S:HELO example.com\n"},
        {.name = "NulInTheCode",
         .script =
             [](ServerConnection& c) {
                 c.Send(
                     "2\0"
                     "20 mail\r\n"s);
                 c.Stall(3s);
             },
         .sendLabel = "送信エラー",
         .state = "R:2",
         .button = "OK",
         .lastSent = ""},
        // At most 1024 bytes are read a tick; the pieces are joined until a line feed.
        {.name = "LongGreetingEndedLater",
         .script =
             [](ServerConnection& c) {
                 c.Send(kLongText);
                 c.Stall(300ms);
                 c.Send("\r\n");
                 PlayOn(c, kHelo);
             },
         .sendLabel = "送信しました",
         .state = "",
         .button = "OK",
         .lastSent = kSuccessEnd,
         .logged = " R:" + kLongText + "\n S:HELO example.com\n"},
        // ... and when none comes, the read time-out ends the session: nothing was a reply.
        {.name = "LongGreetingNeverEnded",
         .script =
             [](ServerConnection& c) {
                 c.Send(kLongText);
                 c.Stall(10s);
             },
         .sendLabel = "送信エラー",
         .state = kConnecting,
         .button = "OK",
         .lastSent = "",
         .readTimeout = 300ms},
        // Hang-ups.
        {.name = "ClosedBeforeTheGreeting",
         .script = At(kGreeting, HangUp),
         .sendLabel = "送信エラー",
         .state = kConnecting,
         .button = "OK",
         .lastSent = ""},
        {.name = "ClosedAfterMailFrom",
         .script = At(kMailFrom, HangUp),
         .sendLabel = "送信エラー",
         .state = "S:MAIL FROM:<taro@example.com>",
         .button = "OK",
         .lastSent = kCommands[kMailFrom]},
        {.name = "ClosedRightAfter354",
         .script = At(kData, ReplyAndHangUp("354 go ahead\r\n")),
         .sendLabel = "送信エラー",
         .state = "S:.",
         .button = "OK",
         .lastSent = kCommands[kData]},
        {.name = "ClosedDuringTheData",
         .script = At(kData,
                      [](ServerConnection& c) {
                          c.Send("354 go ahead\r\n");
                          for (int line = 0; line < 3; ++line) {
                              c.ReadLine();
                          }
                          c.Hangup();
                      }),
         .sendLabel = "送信エラー",
         .state = "S:.",
         .button = "OK",
         .lastSent = "From: taro@example.com\r\n"},
        {.name = "ClosedBeforeTheReplyToTheDot",
         .script = At(kEndOfData, HangUp),
         .sendLabel = "送信エラー",
         .state = "S:.",
         .button = "OK",
         .lastSent = kCommands[kEndOfData]},
        // After QUIT the mail has been taken: whatever the server does, the sending worked.
        {.name = "Quit421",
         .script = At(kQuit, ReplyAndHangUp("421 closing\r\n")),
         .sendLabel = "送信しました",
         .state = "",
         .button = "OK",
         .lastSent = kSuccessEnd},
        {.name = "ClosedBeforeTheReplyToQuit",
         .script = At(kQuit, HangUp),
         .sendLabel = "送信しました",
         .state = "",
         .button = "OK",
         .lastSent = kSuccessEnd},
        // Silence.
        {.name = "AcceptsAndNeverSpeaks",
         .script = [](ServerConnection& c) { c.Stall(10s); },
         .sendLabel = "送信中",
         .state = kConnecting,
         .button = "ｷｬﾝｾﾙ",
         .lastSent = "",
         .cancelAt = kConnecting},
        {.name = "StallsInTheGreetingLine",
         .script =
             [](ServerConnection& c) {
                 c.Send("220 half a li");
                 c.Stall(10s);
             },
         .sendLabel = "送信エラー",
         .state = kConnecting,
         .button = "OK",
         .lastSent = "",
         .readTimeout = 300ms},
        {.name = "StallsInTheReplyToHelo",
         .script = At(kHelo,
                      [](ServerConnection& c) {
                          c.Send("250 mail.exa");
                          c.Stall(10s);
                      }),
         .sendLabel = "送信エラー",
         .state = "S:HELO example.com",
         .button = "OK",
         .lastSent = kCommands[kHelo],
         .readTimeout = 300ms},
    };

    // Every step before QUIT refused three ways: a server going down (421, then it hangs up),
    // a passing failure (4xx) and a lasting one (5xx). The reply stays in State and the log.
    constexpr const char* kStepNames[kQuit] = {"Greeting", "Helo", "Rset",     "MailFrom",
                                               "RcptTo",   "Data", "EndOfData"};
    for (int step = kGreeting; step < kQuit; ++step) {
        for (const std::string reply : {"421 shutting down", "451 try later", "554 refused"}) {
            const std::string line = reply + "\r\n";
            rows.push_back(
                {.name = kStepNames[step] + reply.substr(0, 3),
                 .script = At(static_cast<Step>(step),
                              reply.starts_with("421") ? ReplyAndHangUp(line) : Reply(line)),
                 .sendLabel = "送信エラー",
                 .state = "R:" + reply,
                 .button = "OK",
                 .lastSent = kCommands[step],
                 .logged = " R:" + reply + "\n"});
        }
    }
    return rows;
}

class HostileServerTest : public testing::SendFixture,
                          public ::testing::WithParamInterface<HostileCase> {
protected:
    // The user waits until State has read text for half a second with the session still
    // running, then presses the button.
    static std::function<bool()> GivesUpAt(const char* text) {
        auto since = std::make_shared<std::optional<std::chrono::steady_clock::time_point>>();
        return [since, expected = Text(text)] {
            if (SendDlg->State->text() != expected || !Form1->Timer1->isActive()) {
                since->reset();
                return false;
            }
            const auto now = std::chrono::steady_clock::now();
            if (!since->has_value()) {
                *since = now;
            }
            return now - **since >= 500ms;
        };
    }
};

TEST_P(HostileServerTest, EndsAsTheUserIsTold) {
    const HostileCase& row = GetParam();
    Socket::readTimeout = row.readTimeout;
    const std::string settings = ReadFileBytes("tvemail.ini");
    const std::string domains = ReadFileBytes("tvdomain.ini");
    ASSERT_FALSE(settings.empty());
    ASSERT_FALSE(domains.empty());

    ScriptedServer server(row.script);
    const testing::Seen seen = row.cancelAt == nullptr ? Send() : Send(GivesUpAt(row.cancelAt));
    const std::string received = server.Received();

    EXPECT_EQ(seen.sendLabel, Text(row.sendLabel));
    EXPECT_EQ(seen.state, QString::fromStdString(row.state));
    EXPECT_EQ(seen.button, Text(row.button));
    EXPECT_EQ(seen.errorBox, Text(row.errorBox));
    ExpectSessionClosed();
    EXPECT_EQ(ReadFileBytes("tvemail.ini"), settings);
    EXPECT_EQ(ReadFileBytes("tvdomain.ini"), domains);

    if (row.lastSent.empty()) {
        EXPECT_EQ(received, "");
    } else {
        ASSERT_GE(received.size(), row.lastSent.size()) << received;
        EXPECT_EQ(received.substr(received.size() - row.lastSent.size()), row.lastSent) << received;
    }
    if (!row.logged.empty()) {
        EXPECT_NE(Log().find(row.logged), std::string::npos) << Log();
    }
}

INSTANTIATE_TEST_SUITE_P(Servers, HostileServerTest, ::testing::ValuesIn(Rows()),
                         [](const auto& row) { return row.param.name; });

}  // namespace
}  // namespace tarvelo
