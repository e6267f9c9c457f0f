// The main window's rules, without a window: what the composition writes back, the debug log,
// and what the send button does from the press to the end of the sending, over a transport
// that plays the server. The window tests (tests/app/qt/TvMainTest.cpp, tests/mail/qt/) keep the
// wiring.
#include "app/MainForm.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "TempDir.h"
#include "base/Error.h"
#include "platform/ShiftJis.h"

namespace tarvelo {
namespace {

// The server as the fake transport plays it: whether it takes the connection, then each reply.
ConnectFailure gConnect = ConnectFailure::None;
std::deque<std::string> gReplies;

class PlayedTransport : public Transport {
public:
    void BeginConnect(const std::string&, int, std::chrono::milliseconds) override {}
    std::optional<ConnectFailure> Connecting(std::chrono::milliseconds) override {
        return gConnect;
    }
    TransportSend Send(std::string_view bytes) override { return {.taken = bytes.size()}; }
    TransportRead Receive(std::span<char> buffer) override {
        if (gReplies.empty()) {
            return {};
        }
        const std::string reply = gReplies.front();
        gReplies.pop_front();
        reply.copy(buffer.data(), buffer.size());
        return {TransportRead::Kind::Bytes, reply.size()};
    }
    bool Wait(bool, std::chrono::milliseconds) override { return !gReplies.empty(); }
    bool HasBuffered() const override { return false; }
    std::optional<Awaits> Blocked() const override { return std::nullopt; }
    bool Handshaking() const override { return false; }
    bool StartTls(const TlsRequest&) override {
        tls_ = true;
        return true;
    }
    bool TlsActive() const override { return tls_; }
    std::string TlsFailure() const override { return {}; }

private:
    bool tls_ = false;
};

std::unique_ptr<Transport> MakePlayed() {
    return std::make_unique<PlayedTransport>();
}

SecretStoreSide EmptyStore() {
    return {.lookUp = [](std::string_view, std::string_view) { return StoredPassword{}; },
            .store = [](std::string_view, std::string_view, std::string_view) { return false; }};
}

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        gConnect = ConnectFailure::None;
        gReplies.clear();
    }

    // A prompt that counts its questions and answers "pw", or cancels when answer is none.
    PasswordPrompt Prompt(std::optional<std::string> answer = "pw") {
        return [this, answer](const PasswordPromptText& text) -> std::optional<PromptAnswer> {
            questions_.push_back(text.question);
            refusals_.push_back(text.refusal);
            return answer ? std::optional<PromptAnswer>(PromptAnswer{SecretText(*answer)})
                          : std::nullopt;
        };
    }

    static SendFields Fields(std::string login = {}) {
        SendFields fields{.userName = "taro@example.jp",
                          .smtp = "mail.example",
                          .firstDomain = "gw.phs.test",
                          .mailImage = {"PHSNO=1", "MSG=" + Utf8ToShiftJis("ＡＢ")}};
        // A login goes only over TLS: here from the first byte.
        if (!login.empty()) {
            fields.submission.security = Security::Tls;
        }
        fields.submission.login = std::move(login);
        return fields;
    }

    PasswordSource passwords_{EmptyStore()};
    MainForm form_{passwords_, MakePlayed};
    std::vector<std::string> questions_;
    std::vector<std::string> refusals_;
    testing::TempWorkingDir dir_;
};

TEST(ComposeMain, StartsWithBothErrorsAndNoSending) {
    const MainView view = StartView();
    EXPECT_EQ(view.msgErr, "メッセージがありません");
    EXPECT_EQ(view.phsErr, "PHS Noがありません");
    EXPECT_FALSE(view.sendEnabled);
}

struct MarkCase {
    const char* name;
    const char* message;  // UTF-8
    bool testMode;
    bool marked;
};

const MarkCase kMarks[] = {
    {"KanjiIsMarked", "Aかな漢", false, true},
    {"NothingToMarkInAValidMessage", "ABC", false, false},
    // Nothing is converted there: what cannot go out is told by the error box alone.
    {"TestModeMarksNothing", "a\tb", true, false},
};

class ComposeMainMarks : public ::testing::TestWithParam<MarkCase> {};

TEST_P(ComposeMainMarks, MarksWhatCannotBeSentOnlyWhenConverting) {
    const MarkCase& row = GetParam();
    const MainView view = ComposeMain(
        {.message = Utf8ToShiftJis(row.message), .phsNo = "1", .testMode = row.testMode});
    EXPECT_EQ(view.markUnsendable, row.marked);
}

INSTANTIATE_TEST_SUITE_P(Rows, ComposeMainMarks, ::testing::ValuesIn(kMarks),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(MainFormTest, LogKeepsEachLineOfAnEntrySavesThemAndClears) {
    form_.AddLog(" R:250-first\r\n250 second");
    form_.AddLog(" S:QUIT");
    EXPECT_EQ(form_.LogLines(),
              (std::vector<std::string>{" R:250-first", "250 second", " S:QUIT"}));
    form_.SaveLog();
    EXPECT_TRUE(form_.LogLines().empty());
    EXPECT_TRUE(std::filesystem::exists("TVEMAIL.LOG"));
}

TEST_F(MainFormTest, ALogThatCannotBeSavedStaysForTheNextTry) {
    std::filesystem::create_directory("TVEMAIL.LOG");
    form_.AddLog(" R:220 ready");
    EXPECT_THROW(form_.SaveLog(), Error);
    EXPECT_EQ(form_.LogLines(), std::vector<std::string>{" R:220 ready"});
}

// Refusals come before anything is asked or shown.
TEST_F(MainFormTest, PlaceholderGatewayIsRefusedBeforeThePasswordIsAsked) {
    SendFields fields = Fields("taro");
    fields.firstDomain = "central.phs.example";
    EXPECT_THROW(form_.PressSend(fields, Prompt(), {}), Error);
    EXPECT_TRUE(questions_.empty());
    EXPECT_FALSE(form_.Sending());
}

TEST_F(MainFormTest, UnsendableMailImageIsRefusedBeforeThePasswordIsAsked) {
    SendFields fields = Fields("taro");
    fields.mailImage = {"PHSNO=1", "MSG=A\tB"};
    try {
        form_.PressSend(fields, Prompt(), {});
        ADD_FAILURE() << "not refused";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "不正な文字がふくまれています");
    }
    EXPECT_TRUE(questions_.empty());
    EXPECT_TRUE(form_.MailLines().empty());
}

TEST_F(MainFormTest, CancelledQuestionSendsAndShowsNothing) {
    EXPECT_EQ(form_.PressSend(Fields("taro"), Prompt(std::nullopt), {}), std::nullopt);
    EXPECT_EQ(questions_, std::vector<std::string>{"taro (mail.example) のパスワード"});
    EXPECT_FALSE(form_.Sending());
    EXPECT_TRUE(form_.LogLines().empty());
}

TEST_F(MainFormTest, RefusedConnectionSaysWhyInJapaneseAndLogsIt) {
    gConnect = ConnectFailure::Refused;
    const std::optional<SendScreen> first = form_.PressSend(Fields(), Prompt(), {});
    ASSERT_TRUE(first);
    EXPECT_EQ(first->sendLabel, "接続中") << "the dialog is up before the connection is made";
    const SendScreen screen = form_.Poll();
    EXPECT_EQ(screen.sendLabel, "接続できませんでした");
    EXPECT_EQ(screen.state, "サーバに接続できません (mail.example:25: connection refused)");
    EXPECT_EQ(form_.LogLines(),
              std::vector<std::string>{Utf8ToShiftJis(
                  " E:サーバに接続できません (mail.example:25: connection refused)")});
    EXPECT_FALSE(form_.Sending());
    EXPECT_TRUE(questions_.empty()) << "no login, no question";
    EXPECT_EQ(form_.MailLines().size(), 9u) << "assembled before connecting";
}

TEST_F(MainFormTest, SendingGoesOnFromTheTimerToItsEnd) {
    gReplies = {"220 hi\r\n", "250 hello\r\n", "250 reset\r\n",  "250 from\r\n",
                "250 to\r\n", "354 go\r\n",    "250 queued\r\n", "221 bye\r\n"};
    const std::optional<SendScreen> first = form_.PressSend(Fields(), Prompt(), {});
    ASSERT_TRUE(first);
    EXPECT_EQ(first->sendLabel, "接続中");
    EXPECT_EQ(first->state, "Connecting mail.example...");
    SendScreen last;
    for (int tick = 0; tick < 20 && form_.Sending(); ++tick) {
        last = form_.Poll();
    }
    EXPECT_FALSE(form_.Sending());
    EXPECT_EQ(last.sendLabel, "送信しました");
    EXPECT_EQ(form_.LogLines().front(), " R:220 hi");
    EXPECT_EQ(form_.LogLines().back(), " R:221 bye");
    EXPECT_TRUE(form_.Poll().log.empty()) << "a tick after the end does nothing";
}

// A password typed at the question is kept for the next sending, unless the server refused it.
TEST_F(MainFormTest, RefusedLoginForgetsTheTypedPassword) {
    gReplies = {"220 hi\r\n", "250-hello\r\n250 AUTH PLAIN\r\n", "535 no\r\n"};
    ASSERT_TRUE(form_.PressSend(Fields("taro"), Prompt(), {}));
    while (form_.Sending()) {
        form_.Poll();
    }
    ASSERT_TRUE(form_.PressSend(Fields("taro"), Prompt(), {}));
    EXPECT_EQ(questions_.size(), 2u) << "asked again after the refusal";
}

// The refusal says so and asks again at once; the answer goes out over a new connection.
TEST_F(MainFormTest, RefusedLoginAskedAgainAtOnceAndSentAnew) {
    gReplies = {"220 hi\r\n", "250-hello\r\n250 AUTH PLAIN\r\n", "535 no\r\n"};
    ASSERT_TRUE(form_.PressSend(Fields("taro"), Prompt(), {}));
    SendScreen last;
    while (form_.Sending()) {
        last = form_.Poll();
    }
    EXPECT_EQ(last.sendLabel, "ログインできませんでした");
    ASSERT_EQ(last.askAgain, "535 no");
    gReplies = {"220 hi\r\n"};
    const std::optional<SendScreen> again = form_.AskAgain(*last.askAgain, Prompt(), {});
    ASSERT_TRUE(again);
    EXPECT_EQ(again->sendLabel, "接続中");
    EXPECT_TRUE(form_.Sending());
    EXPECT_EQ(refusals_, (std::vector<std::string>{"", "ログインできませんでした: 535 no"}));
}

// Known from the settings: nothing is asked or sent.
TEST_F(MainFormTest, LoginOverPlainTextIsRefusedBeforeThePasswordIsAsked) {
    SendFields fields = Fields("taro");
    fields.submission.security = Security::None;
    EXPECT_THROW(form_.PressSend(fields, Prompt(), {}), Error);
    EXPECT_TRUE(questions_.empty());
}

TEST_F(MainFormTest, TypedPasswordIsAskedOnceWhileItIsNotRefused) {
    gConnect = ConnectFailure::Refused;
    ASSERT_TRUE(form_.PressSend(Fields("taro"), Prompt(), {}));
    while (form_.Sending()) {
        form_.Poll();
    }
    ASSERT_TRUE(form_.PressSend(Fields("taro"), Prompt(), {}));
    EXPECT_EQ(questions_.size(), 1u);
}

}  // namespace
}  // namespace tarvelo
