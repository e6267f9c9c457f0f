// What the progress dialog and the debug log show of a sending, as a table of the drive loop's
// actions: the headline and the button, State, the reasons in the windows' words, the end of
// the session, the forgotten password and the box of a reply that is not a number. These rows
// were the window test's (tests/mail/qt/SendSessionTest.cpp keeps the wiring).
#include "mail/SendView.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/ShiftJis.h"

namespace tarvelo {
namespace {

using K = SendEndKind;

SmtpActions Actions(std::vector<std::string> log, std::optional<std::string> state,
                    std::vector<SendEnd> ends, SmtpOutcome outcome = SmtpOutcome::Waiting) {
    SmtpActions actions;
    actions.log = std::move(log);
    actions.state = std::move(state);
    actions.ends = std::move(ends);
    actions.outcome = outcome;
    return actions;
}

SmtpActions Failed(SendEnd end) {
    return Actions({}, std::nullopt, {std::move(end)}, SmtpOutcome::Failure);
}

struct ScreenCase {
    const char* name;
    SmtpActions actions;
    std::optional<std::string> sendLabel;
    std::optional<std::string> button;
    std::optional<std::string> state;
    std::vector<std::string> extraLog;  // after the actions' own entries, UTF-8
    bool end;
    bool forgetPassword;
};

const ScreenCase kScreens[] = {
    {"GoingOnLeavesTheHeadline",
     Actions({" S:HELO a"}, "S:HELO a", {}),
     {},
     {},
     "S:HELO a",
     {},
     false,
     false},
    {"DeliveredWhileQuitIsAwaitedSaysSentAtOnce",
     Actions({" R:250 ok", " S:QUIT"}, std::nullopt,
             {{.kind = K::Delivered, .detail = "250 ok", .byReply = true}}),
     "送信しました",
     "OK",
     {},
     {},
     false,
     false},
    {"SuccessEndsWithSent",
     Actions({}, "", {}, SmtpOutcome::Success),
     "送信しました",
     "OK",
     "",
     {},
     true,
     false},
    {"RefusalKeepsTheReplyInState",
     Actions({" R:550 no"}, "R:550 no",
             {{.kind = K::RefusedPermanent, .detail = "550 no", .byReply = true}},
             SmtpOutcome::Failure),
     "送信エラー",
     "OK",
     "R:550 no",
     {},
     true,
     false},
    {"HangUpSaysWhyInJapanese",
     Failed({.kind = K::Closed, .detail = "the server closed the connection"}),
     "送信エラー",
     "OK",
     "サーバが接続を切りました (the server closed the connection)",
     {" E:サーバが接続を切りました (the server closed the connection)"},
     true,
     false},
    {"OverdueSaysWhy",
     Failed({.kind = K::Overdue, .detail = "the server did not answer in time"}),
     "送信エラー",
     "OK",
     "サーバが時間内に応えません (the server did not answer in time)",
     {" E:サーバが時間内に応えません (the server did not answer in time)"},
     true,
     false},
    {"MissingStartTlsSaysWhy",
     Failed({.kind = K::Tls, .detail = "the server does not offer STARTTLS"}),
     "送信エラー",
     "OK",
     "TLS で安全に接続できません (the server does not offer STARTTLS)",
     {" E:TLS で安全に接続できません (the server does not offer STARTTLS)"},
     true,
     false},
    // The question comes again at once (SendScreen::askAgain).
    {"RefusedLoginForgetsThePassword",
     Failed({.kind = K::Authentication, .detail = "535 bad", .byReply = true}),
     "ログインできませんでした",
     "OK",
     {},
     {},
     true,
     true},
    // Nothing was refused: the connection was no TLS, and no password went out.
    {"LoginWithoutTlsSaysWhyAndKeepsThePassword",
     Failed({.kind = K::Tls, .detail = "the login is sent only over TLS"}),
     "送信エラー",
     "OK",
     "TLS で安全に接続できません (the login is sent only over TLS)",
     {" E:TLS で安全に接続できません (the login is sent only over TLS)"},
     true,
     false},
    {"NotANumberShowsTheReplyThoughTheLogLeavesItOut",
     Failed({.kind = K::NotANumber, .detail = "hello there", .byReply = true}),
     "送信エラー",
     "OK",
     "R:hello there",
     {},
     true,
     false},
};

class SendScreenTest : public testing::TestWithParam<ScreenCase> {};

TEST_P(SendScreenTest, ShowsWhatTheActionsSay) {
    const ScreenCase& row = GetParam();
    const SendScreen screen = ScreenAfter(row.actions);
    EXPECT_EQ(screen.sendLabel ? std::optional<std::string>(*screen.sendLabel) : std::nullopt,
              row.sendLabel);
    EXPECT_EQ(screen.button ? std::optional<std::string>(*screen.button) : std::nullopt,
              row.button);
    EXPECT_EQ(screen.state, row.state);
    std::vector<std::string> log = row.actions.log;
    for (const std::string& entry : row.extraLog) {
        log.push_back(Utf8ToShiftJis(entry));
    }
    EXPECT_EQ(screen.log, log);
    EXPECT_EQ(screen.end, row.end);
    EXPECT_EQ(screen.forgetPassword, row.forgetPassword);
    // Asked again exactly when the server refused the login, with its reply.
    EXPECT_EQ(screen.askAgain, row.forgetPassword
                                   ? std::optional<std::string>(row.actions.ends.back().detail)
                                   : std::nullopt);
    EXPECT_EQ(screen.box, std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Rows, SendScreenTest, testing::ValuesIn(kScreens),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(SendScreen, ACodeThatIsNotANumberRaisesItsBoxOnce) {
    SmtpActions actions = Failed({.kind = K::NotANumber, .detail = "hel", .byReply = true});
    actions.notANumber = "hel";
    EXPECT_EQ(ScreenAfter(actions).box, "'hel' は整数ではありません");
}

TEST(SendScreen, TheConnectionMadeSaysSending) {
    SmtpActions actions;
    actions.connected = true;
    const SendScreen screen = ScreenAfter(actions);
    EXPECT_EQ(screen.sendLabel, "送信中");
    EXPECT_EQ(screen.button, "ｷｬﾝｾﾙ");
    EXPECT_FALSE(screen.end);
    EXPECT_EQ(ScreenAfter(SmtpActions{}).sendLabel, std::nullopt) << "a turn without news";
}

TEST(SendScreen, ConnectingNamesTheServerAsSet) {
    const SendScreen screen = ConnectingScreen(Utf8ToShiftJis("メール.example"));
    EXPECT_EQ(screen.sendLabel, "接続中");
    EXPECT_EQ(screen.button, "ｷｬﾝｾﾙ");
    EXPECT_EQ(screen.state, "Connecting メール.example...");
    EXPECT_FALSE(screen.end);
    EXPECT_TRUE(screen.log.empty());
}

struct ConnectCase {
    const char* name;
    SendEnd end;
    const char* sendLabel;
    const char* reason;
};

const ConnectCase kConnects[] = {
    {"RefusedConnection",
     {.kind = K::NoConnection,
      .connect = ConnectFailure::Refused,
      .detail = "mail.example:25: connection refused"},
     "接続できませんでした",
     "サーバに接続できません (mail.example:25: connection refused)"},
    {"TlsFromTheFirstByteFailed",
     {.kind = K::Tls, .detail = "the server's certificate is refused: expired"},
     "送信エラー",
     "TLS で安全に接続できません (the server's certificate is refused: expired)"},
};

class ConnectFailedScreenTest : public testing::TestWithParam<ConnectCase> {};

TEST_P(ConnectFailedScreenTest, SaysWhyInStateAndInTheLog) {
    const ConnectCase& row = GetParam();
    SmtpActions actions;
    actions.outcome = SmtpOutcome::Failure;
    actions.ends = {row.end};
    const SendScreen screen = ScreenAfter(actions);
    EXPECT_EQ(screen.sendLabel, row.sendLabel);
    EXPECT_EQ(screen.button, "OK");
    EXPECT_EQ(screen.state, row.reason);
    EXPECT_EQ(screen.log, std::vector<std::string>{" E:" + Utf8ToShiftJis(row.reason)});
    EXPECT_TRUE(screen.end);
}

INSTANTIATE_TEST_SUITE_P(Rows, ConnectFailedScreenTest, testing::ValuesIn(kConnects),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tarvelo
