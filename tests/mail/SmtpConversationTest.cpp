// The SMTP conversation as transcripts: a server's reads (bytes, silence, a hang-up, a failure)
// at given times in, the bytes on the wire, the debug log, the State text, the boxes and the
// outcome out. The same driver runs in the window and in the fuzz target.
#include "mail/SmtpConversation.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tarvelo {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;
using Kind = SmtpRead::Kind;
using std::chrono::milliseconds;

// One read, at a time counted from the connection.
struct Event {
    Kind kind;
    std::string bytes;
    milliseconds at = 0ms;
};

Event Read(std::string bytes, milliseconds at = 0ms) {
    return {Kind::Bytes, std::move(bytes), at};
}
Event Quiet(milliseconds at) {
    return {Kind::Nothing, "", at};
}
Event Closed() {
    return {Kind::Closed, ""};
}
Event Failed() {
    return {Kind::Failed, ""};
}

// Everything the caller was told to do, joined.
struct Seen {
    std::string wire;
    std::string log;  // entries, each followed by "\n"
    std::optional<std::string> state;
    std::vector<std::string> boxes;
    SmtpOutcome outcome = SmtpOutcome::Waiting;
};

const SmtpSettings kSettings{"taro@example.jp", "pdx.ne.jp"};
const std::vector<std::string> kMail = {"Subject: x", "", "MSG=A"};

Seen Converse(const std::vector<Event>& events, const SmtpSettings& settings = kSettings,
              const std::vector<std::string>& mail = kMail) {
    SmtpConversation conversation(settings, mail);
    const SmtpClock::time_point start{};
    Seen seen;
    for (const Event& event : events) {
        const SmtpActions actions = conversation.Take({event.kind, event.bytes}, start + event.at);
        if (seen.outcome != SmtpOutcome::Waiting) {
            // Ended: nothing more to do, however the server goes on.
            EXPECT_TRUE(actions.wire.empty() && actions.log.empty() && !actions.state &&
                        !actions.notANumber);
            EXPECT_EQ(actions.outcome, seen.outcome);
            continue;
        }
        seen.wire += actions.wire;
        for (const std::string& entry : actions.log) {
            seen.log += entry + "\n";
        }
        if (actions.state) {
            seen.state = actions.state;
        }
        if (actions.notANumber) {
            seen.boxes.push_back(*actions.notANumber);
        }
        seen.outcome = actions.outcome;
    }
    EXPECT_EQ(conversation.Outcome(), seen.outcome);
    return seen;
}

// The replies of a server that takes everything, one per step.
enum Step { kGreeting, kHelo, kRset, kMailFrom, kRcptTo, kData, kEndOfData, kQuit, kSteps };
const char* const kGood[kSteps] = {
    "220 gw.example ESMTP\r\n", "250 gw.example\r\n", "250 2.0.0 Reset\r\n",
    "250 2.1.0 Ok\r\n",         "250 2.1.5 Ok\r\n",   "354 End data with .\r\n",
    "250 2.0.0 Queued\r\n",     "221 2.0.0 Bye\r\n",
};
// The line the client sends on each step's good reply.
const char* const kNext[kSteps] = {"HELO example.jp",
                                   "RSET",
                                   "MAIL FROM:<taro@example.jp>",
                                   "RCPT TO:<tv@pdx.ne.jp>",
                                   "DATA",
                                   ".",
                                   "QUIT",
                                   ""};

// The good replies before step, then the events of more.
std::vector<Event> Upto(int step, std::vector<Event> more = {}) {
    std::vector<Event> events;
    for (int i = 0; i < step; ++i) {
        events.push_back(Read(kGood[i]));
    }
    events.insert(events.end(), more.begin(), more.end());
    return events;
}

std::vector<Event> Each(const std::string& text, std::size_t size, milliseconds gap = 0ms) {
    std::vector<Event> events;
    for (std::size_t at = 0; at < text.size(); at += size) {
        events.push_back(Read(text.substr(at, size), gap * static_cast<int>(at / size)));
    }
    return events;
}

std::vector<Event> Joined(std::vector<Event> a, const std::vector<Event>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::string kHappyWire =
    "HELO example.jp\r\nRSET\r\nMAIL FROM:<taro@example.jp>\r\nRCPT TO:<tv@pdx.ne.jp>\r\n"
    "DATA\r\nSubject: x\r\n\r\nMSG=A\r\n.\r\nQUIT\r\n";

TEST(SmtpConversation, SendsTheMailLogsEveryLineAndEndsWithSuccess) {
    const Seen seen = Converse(Upto(kSteps));
    EXPECT_EQ(seen.wire, kHappyWire);
    EXPECT_EQ(seen.log,
              " R:220 gw.example ESMTP\n S:HELO example.jp\n R:250 gw.example\n S:RSET\n"
              " R:250 2.0.0 Reset\n S:MAIL FROM:<taro@example.jp>\n R:250 2.1.0 Ok\n"
              " S:RCPT TO:<tv@pdx.ne.jp>\n R:250 2.1.5 Ok\n S:DATA\n R:354 End data with .\n"
              " S:Subject: x\n S:\n S:MSG=A\n S:.\n R:250 2.0.0 Queued\n S:QUIT\n"
              " R:221 2.0.0 Bye\n");
    EXPECT_EQ(seen.state, "");
    EXPECT_TRUE(seen.boxes.empty());
    EXPECT_EQ(seen.outcome, SmtpOutcome::Success);
}

TEST(SmtpConversation, BodyLinesBeginningWithADotAreStuffedButNotTheEndMarker) {
    const Seen seen = Converse(Upto(kSteps), kSettings, {"Subject: x", "", ".", "..two", ".end"});
    EXPECT_EQ(seen.wire.substr(seen.wire.find("DATA\r\n") + 6),
              "Subject: x\r\n\r\n..\r\n...two\r\n..end\r\n.\r\nQUIT\r\n");
    EXPECT_NE(seen.log.find(" S:..end\n S:.\n"), std::string::npos) << "the log shows what went";
}

// Who the client says it is, the sender and the recipient, from the settings.
struct SenderCase {
    const char* name;
    SmtpSettings settings;
    std::string wire;  // up to RCPT TO
    friend void PrintTo(const SenderCase& row, std::ostream* out) { *out << row.name; }
};

class SmtpSender : public testing::TestWithParam<SenderCase> {};

TEST_P(SmtpSender, NamesClientSenderAndRecipient) {
    const Seen seen = Converse(Upto(kRcptTo), GetParam().settings);
    EXPECT_EQ(seen.wire, GetParam().wire);
    EXPECT_EQ(seen.outcome, SmtpOutcome::Waiting);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SmtpSender,
    testing::Values(
        SenderCase{"AddressGivesItsDomain",
                   {"taro@example.jp", "pdx.ne.jp"},
                   "HELO example.jp\r\nRSET\r\nMAIL FROM:<taro@example.jp>\r\nRCPT "
                   "TO:<tv@pdx.ne.jp>\r\n"},
        SenderCase{"TextAfterTheFirstAt",
                   {"a@b@c", "pdx.ne.jp"},
                   "HELO b@c\r\nRSET\r\nMAIL FROM:<a@b@c>\r\nRCPT TO:<tv@pdx.ne.jp>\r\n"},
        SenderCase{"NoAtGivesTheWholeText",
                   {"taro", "pdx.ne.jp"},
                   "HELO taro\r\nRSET\r\nMAIL FROM:<taro>\r\nRCPT TO:<tv@pdx.ne.jp>\r\n"},
        SenderCase{"AtAtTheEnd",
                   {"taro@", "pdx.ne.jp"},
                   "HELO \r\nRSET\r\nMAIL FROM:<taro@>\r\nRCPT TO:<tv@pdx.ne.jp>\r\n"},
        SenderCase{"EmptySender",
                   {"", "pdx.ne.jp"},
                   "HELO \r\nRSET\r\nMAIL FROM:<>\r\nRCPT TO:<tv@pdx.ne.jp>\r\n"},
        SenderCase{"EmptyDomain",
                   {"taro@example.jp", ""},
                   "HELO example.jp\r\nRSET\r\nMAIL FROM:<taro@example.jp>\r\nRCPT TO:<tv@>\r\n"}),
    [](const auto& row) { return std::string(row.param.name); });

// One reply in one step: which codes each step takes. A taken code sends the next command; any
// other is the error end, nothing more is sent and State keeps the rejected reply.
struct StepCase {
    std::string name;
    Step step;
    std::string reply;
    bool taken;
    friend void PrintTo(const StepCase& row, std::ostream* out) { *out << row.name; }
};

class SmtpStepTest : public testing::TestWithParam<StepCase> {};

TEST_P(SmtpStepTest, JudgesTheCode) {
    const StepCase& row = GetParam();
    const Seen before = Converse(Upto(row.step));
    const Seen seen = Converse(Upto(row.step, {Read(row.reply + "\r\n")}));
    const std::string added = seen.wire.substr(before.wire.size());
    EXPECT_TRUE(seen.boxes.empty());
    if (row.taken) {
        EXPECT_EQ(seen.outcome, row.step == kQuit ? SmtpOutcome::Success : SmtpOutcome::Waiting);
        EXPECT_TRUE(
            added.ends_with(std::string(kNext[row.step]) + (row.step == kQuit ? "" : "\r\n")))
            << added;
    } else {
        EXPECT_EQ(seen.outcome, SmtpOutcome::Failure);
        EXPECT_EQ(added, "");
        EXPECT_EQ(seen.state, "R:" + row.reply);
        EXPECT_TRUE(seen.log.ends_with(" R:" + row.reply + "\n")) << seen.log;
    }
}

std::vector<StepCase> StepRows() {
    std::vector<StepCase> rows = {
        {"GreetingTakes220", kGreeting, "220 hi", true},
        {"GreetingRefuses250", kGreeting, "250 hi", false},
        {"HeloRefuses220", kHelo, "220 again", false},
        {"HeloRefuses251", kHelo, "251 hm", false},
        {"RsetRefuses251", kRset, "251 hm", false},
        {"MailFromRefuses251", kMailFrom, "251 hm", false},
        {"RcptToTakes250", kRcptTo, "250 ok", true},
        {"RcptToTakesForwarded251", kRcptTo, "251 forwarded", true},
        {"RcptToRefuses252", kRcptTo, "252 cannot verify", false},
        {"DataRefuses250", kData, "250 no data", false},
        {"EndOfDataRefuses251", kEndOfData, "251 hm", false},
        {"EndOfDataRefuses354", kEndOfData, "354 again", false},
        {"NegativeCodeRefused", kHelo, "-25 minus", false},
        // Whatever QUIT gets back, the mail is already taken.
        {"Quit221", kQuit, "221 bye", true},
        {"Quit500", kQuit, "500 whatever", true},
        {"Quit421", kQuit, "421 closing", true},
        {"Quit000", kQuit, "000", true},
    };
    // Every step before QUIT refused three ways: a server going down, a passing failure and a
    // lasting one.
    const char* const names[kQuit] = {"Greeting", "Helo", "Rset",     "MailFrom",
                                      "RcptTo",   "Data", "EndOfData"};
    for (int step = kGreeting; step < kQuit; ++step) {
        for (const char* reply : {"421 shutting down", "451 try later", "554 refused"}) {
            rows.push_back(
                {names[step] + std::string(reply, 3), static_cast<Step>(step), reply, false});
        }
    }
    return rows;
}

INSTANTIATE_TEST_SUITE_P(Rows, SmtpStepTest, testing::ValuesIn(StepRows()),
                         [](const auto& row) { return row.param.name; });

// Servers that split, join, cut or never end their replies, hang up, fail or fall silent.
struct TranscriptCase {
    const char* name;
    std::vector<Event> events;
    SmtpOutcome outcome;
    std::optional<std::string> state;  // the State text last given
    std::string wireEnd;               // what the wire ends with ("" : nothing was sent)
    std::string logged = {};           // a part of the log, when not empty
    std::vector<std::string> boxes = {};
    friend void PrintTo(const TranscriptCase& row, std::ostream* out) { *out << row.name; }
};

class SmtpTranscript : public testing::TestWithParam<TranscriptCase> {};

TEST_P(SmtpTranscript, EndsAsTheUserIsTold) {
    const TranscriptCase& row = GetParam();
    const Seen seen = Converse(row.events);
    EXPECT_EQ(seen.outcome, row.outcome);
    EXPECT_EQ(seen.state, row.state);
    if (row.wireEnd.empty()) {
        EXPECT_EQ(seen.wire, "");
    } else {
        EXPECT_TRUE(seen.wire.ends_with(row.wireEnd)) << seen.wire;
    }
    EXPECT_NE(seen.log.find(row.logged), std::string::npos) << seen.log;
    EXPECT_EQ(seen.boxes, row.boxes);
    if (row.outcome != SmtpOutcome::Success) {
        EXPECT_EQ(seen.wire.find("QUIT"), std::string::npos);
    }
}

std::string AllGood() {
    std::string all;
    for (const char* reply : kGood) {
        all += reply;
    }
    return all;
}

const std::string kLong = "220 " + std::string(4996, 'x');
const std::string kFlood = "220-" + std::string(3 * 64 * 1024, 'x');
constexpr auto kSuccess = SmtpOutcome::Success;
constexpr auto kFailure = SmtpOutcome::Failure;
constexpr auto kWaiting = SmtpOutcome::Waiting;

const TranscriptCase kTranscripts[] = {
    // Split and joined replies.
    {"OneByteAtATime", Each(AllGood(), 1), kSuccess, "", "QUIT\r\n",
     " R:220 gw.example ESMTP\n S:HELO example.jp\n R:250 gw.example\n"},
    {"MultiLineGreetingInSeparateReadsIsOneReply",
     {Read("220-gw.example welcome\r\n"), Read("220-no UCE\r\n"), Read("220 ready\r\n"),
      Read(kGood[kHelo])},
     kWaiting,
     "S:RSET",
     "HELO example.jp\r\nRSET\r\n",
     " R:220-gw.example welcome\r\n220-no UCE\r\n220 ready\n S:HELO example.jp\n"},
    {"MultiLineReplyInOneReadIsOneEntry",
     Upto(kHelo, {Read("250-gw.example\r\n250-PIPELINING\r\n250 OK\r\n")}), kWaiting, "S:RSET",
     "RSET\r\n", " R:250-gw.example\r\n250-PIPELINING\r\n250 OK\n S:RSET\n"},
    // What one read brings is one reply: the early 250 rides with the greeting.
    {"EarlyReplyRidesWithTheGreeting",
     {Read("220 gw.example ESMTP\r\n250 early\r\n"), Read(kGood[kHelo])},
     kWaiting,
     "S:RSET",
     "RSET\r\n",
     " R:220 gw.example ESMTP\r\n250 early\n S:HELO example.jp\n"},
    {"AllRepliesInOneReadAwaitTheAnswerToHelo",
     {Read(AllGood()), Quiet(1h)},
     kWaiting,
     "S:HELO example.jp",
     "HELO example.jp\r\n",
     " R:220 gw.example ESMTP\r\n250 gw.example\r\n"},
    {"LineFeedOnly",
     {Read("220 a\n"), Read("250 b\n")},
     kWaiting,
     "S:RSET",
     "RSET\r\n",
     " R:220 a\n S:HELO example.jp\n R:250 b\n"},
    {"BareCodes",
     {Read("220\r\n"), Read("250\r\n")},
     kWaiting,
     "S:RSET",
     "RSET\r\n",
     " R:220\n S:HELO example.jp\n R:250\n"},
    {"NulEndsTheText",
     {Read("220 mail\0server\r\n"s)},
     kWaiting,
     "S:HELO example.jp",
     "HELO example.jp\r\n",
     " R:220 mail\n"},
    {"NulInTheCodeIsTheErrorEnd", {Read("2\0 20 mail\r\n"s)}, kFailure, "R:2", "", " R:2\n"},
    {"LongGreetingEndedLater", Joined(Each(kLong, 1024), {Read("\r\n", 1s)}), kWaiting,
     "S:HELO example.jp", "HELO example.jp\r\n", " R:" + kLong + "\n S:HELO"},
    // A reply must be whole within 30 s of its first byte, however the bytes trickle in.
    {"LongGreetingNeverEnded", Joined(Each(kLong, 1024), {Quiet(30s)}), kFailure, std::nullopt, ""},
    {"StallsInTheGreetingLine",
     {Read("220 half a li"), Quiet(29999ms), Quiet(30s)},
     kFailure,
     std::nullopt,
     ""},
    {"StallsInTheReplyToHelo", Upto(kHelo, {Read("250 mail.exa", 5s), Quiet(35s)}), kFailure,
     "S:HELO example.jp", "HELO example.jp\r\n"},
    {"OneByteEveryTwentySeconds", Each("220 slow greeting\r\n", 1, 20s), kFailure, std::nullopt,
     ""},
    {"CompletedJustInTime",
     {Read("220 in", 10s), Read(" time\r\n", 39999ms)},
     kWaiting,
     "S:HELO example.jp",
     "HELO example.jp\r\n"},
    {"TheBoundStartsAgainWithEachReply",
     {Read("220 a", 0s), Read("\r\n", 29s), Read("250 b", 50s), Read("\r\n", 79s)},
     kWaiting,
     "S:RSET",
     "RSET\r\n"},
    {"SilenceBeforeAReplyIsNoTimeOut", {Quiet(24h)}, kWaiting, std::nullopt, ""},
    // Hang-ups and failures before the mail is taken.
    {"ClosedBeforeTheGreeting", {Closed()}, kFailure, std::nullopt, ""},
    {"ClosedAfterHelo", Upto(kHelo, {Closed()}), kFailure, "S:HELO example.jp",
     "HELO example.jp\r\n"},
    {"ClosedAfterMailFrom", Upto(kRcptTo, {Closed()}), kFailure, "S:RCPT TO:<tv@pdx.ne.jp>",
     "RCPT TO:<tv@pdx.ne.jp>\r\n"},
    {"ClosedRightAfter354", Upto(kEndOfData, {Closed()}), kFailure, "S:.", "MSG=A\r\n.\r\n"},
    {"SendOfTheMailFails", Upto(kEndOfData, {Failed()}), kFailure, "S:.", "MSG=A\r\n.\r\n"},
    {"ClosedWithHalfAReplyToTheDot", Upto(kEndOfData, {Read("25"), Closed()}), kFailure, "S:.",
     ".\r\n"},
    // Once the end of the data is taken the mail is delivered, whatever becomes of QUIT.
    {"QuitNeverAnswered", Upto(kQuit, {Quiet(29s), Quiet(30s)}), kSuccess, "", "QUIT\r\n",
     " R:250 2.0.0 Queued\n S:QUIT\n"},
    {"QuitAnsweredWithGarbage", Upto(kQuit, {Read("bye!\r\n")}), kSuccess, "", "QUIT\r\n"},
    {"ClosedBeforeTheReplyToQuit", Upto(kQuit, {Closed()}), kSuccess, "", "QUIT\r\n"},
    {"SendOfQuitFails", Upto(kQuit, {Failed()}), kSuccess, "", "QUIT\r\n"},
    {"ReplyToQuitNeverEnds", Upto(kQuit, {Read("221 by", 1s), Quiet(40s)}), kSuccess, "",
     "QUIT\r\n"},
    // A reply that is not a number: its box once, then the error end; nothing is logged.
    {"NotANumber",
     {Read("hello there\r\n"), Read(kGood[kGreeting])},
     kFailure,
     std::nullopt,
     "",
     "",
     {"hel"}},
    {"NotANumberLater",
     Upto(kRset, {Read("ESMTP\r\n"), Read("xyz\r\n")}),
     kFailure,
     "S:RSET",
     "RSET\r\n",
     "",
     {"ESM"}},
    {"EmptyReplyIsNotANumber", {Read("\r\n")}, kFailure, std::nullopt, "", "", {"\r\n"}},
    // A flood without a line end is cut at 64 KiB: the first piece is a greeting, the next no
    // number, and that is the only box.
    {"FloodOpensOneBox",
     Joined(Each(kFlood, 1024), {}),
     kFailure,
     "S:HELO example.jp",
     "HELO example.jp\r\n",
     "",
     {"xxx"}},
};

INSTANTIATE_TEST_SUITE_P(Rows, SmtpTranscript, testing::ValuesIn(kTranscripts),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(SmtpConversation, TellsWhenTheReplyUnderWayMustBeWhole) {
    SmtpConversation conversation(kSettings, kMail);
    const SmtpClock::time_point start{};
    EXPECT_EQ(conversation.Deadline(), std::nullopt);
    conversation.Take({Kind::Bytes, "220 rea"}, start + 5s);
    EXPECT_EQ(conversation.Deadline(), start + 35s);
    conversation.Take({Kind::Bytes, "dy"}, start + 20s);
    EXPECT_EQ(conversation.Deadline(), start + 35s) << "a total, not restarted by each byte";
    conversation.Take({Kind::Bytes, "\r\n"}, start + 21s);
    EXPECT_EQ(conversation.Deadline(), std::nullopt);
    EXPECT_EQ(conversation.State(), SmtpState::Helo);
}

}  // namespace
}  // namespace tarvelo
