// The SMTP conversation as transcripts: the server's reads in, the bytes on the wire and the
// outcome out.
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "mail/SmtpSession.h"

namespace tarvelo {
namespace {

const SmtpSettings kSettings{"taro@example.jp", "pdx.ne.jp"};

struct Transcript {
    std::string wire;
    SmtpOutcome outcome = SmtpOutcome::Waiting;
    SmtpState state = SmtpState::Greeting;
};

// Drives the conversation as a poll tick does, one server read at a time, until it ends.
Transcript Converse(const std::vector<std::string>& reads, const SmtpSettings& settings = kSettings,
                    const std::vector<std::string>& mailLines = {"Subject: x", "", "MSG=A"}) {
    Transcript transcript;
    SmtpReplyReader reader;
    for (const std::string& read : reads) {
        const std::optional<std::string> reply = reader.Add(read);
        if (!reply) {
            continue;
        }
        const std::optional<int> code = ReplyCode(*reply);
        if (!code) {
            ADD_FAILURE() << "not a number: " << *reply;
            break;
        }
        const SmtpStep step = OnReply(transcript.state, *code, settings, mailLines);
        for (const std::string& line : step.linesToSend) {
            transcript.wire += FrameLine(line);
        }
        transcript.outcome = step.outcome;
        if (step.outcome != SmtpOutcome::Waiting) {
            break;
        }
    }
    return transcript;
}

const std::vector<std::string> kHappyReads = {
    "220 gw.example ESMTP\r\n", "250 gw.example\r\n", "250 2.0.0 Reset\r\n",
    "250 2.1.0 Ok\r\n",         "250 2.1.5 Ok\r\n",   "354 End data with .\r\n",
    "250 2.0.0 Queued\r\n",     "221 2.0.0 Bye\r\n",
};

TEST(SmtpSession, SendsTheMailAndEndsWithSuccess) {
    const Transcript transcript = Converse(kHappyReads);
    EXPECT_EQ(transcript.wire,
              "HELO example.jp\r\n"
              "RSET\r\n"
              "MAIL FROM:<taro@example.jp>\r\n"
              "RCPT TO:<tv@pdx.ne.jp>\r\n"
              "DATA\r\n"
              "Subject: x\r\n"
              "\r\n"
              "MSG=A\r\n"
              ".\r\n"
              "QUIT\r\n");
    EXPECT_EQ(transcript.outcome, SmtpOutcome::Success);
    EXPECT_EQ(transcript.state, SmtpState::Quit);
}

TEST(SmtpSession, MultiLineRepliesInSeparateReadsAreOneStep) {
    std::vector<std::string> reads = kHappyReads;
    reads[0] = "220-gw.example ESMTP\r\n";
    reads.insert(reads.begin() + 1, "220-no UCE\r\n");
    reads.insert(reads.begin() + 2, "220 welcome\r\n");
    reads[3] = "250-gw.example\r\n250-SIZE 10240000\r\n";
    reads.insert(reads.begin() + 4, "250 8BITMIME\r\n");
    const Transcript transcript = Converse(reads);
    EXPECT_EQ(transcript.outcome, SmtpOutcome::Success);
    EXPECT_TRUE(transcript.wire.starts_with("HELO example.jp\r\nRSET\r\nMAIL FROM:"))
        << transcript.wire;
}

TEST(SmtpSession, BodyLinesBeginningWithADotAreStuffedButNotTheEndMarker) {
    const Transcript transcript =
        Converse(kHappyReads, kSettings, {"Subject: x", "", ".", "..two", ".end", "a.b", ""});
    const std::string body = transcript.wire.substr(transcript.wire.find("DATA\r\n") + 6);
    EXPECT_EQ(body, "Subject: x\r\n\r\n..\r\n...two\r\n..end\r\na.b\r\n\r\n.\r\nQUIT\r\n");
}

struct SenderCase {
    const char* name;
    SmtpSettings settings;
    std::string wire;  // up to RCPT TO
};

void PrintTo(const SenderCase& row, std::ostream* out) {
    *out << row.name;
}

class SmtpSender : public testing::TestWithParam<SenderCase> {};

const SenderCase kSenderCases[] = {
    {"AddressGivesItsDomain",
     {"taro@example.jp", "pdx.ne.jp"},
     "HELO example.jp\r\nRSET\r\nMAIL FROM:<taro@example.jp>\r\nRCPT TO:<tv@pdx.ne.jp>\r\n"},
    {"TextAfterTheFirstAt",
     {"a@b@c", "pdx.ne.jp"},
     "HELO b@c\r\nRSET\r\nMAIL FROM:<a@b@c>\r\nRCPT TO:<tv@pdx.ne.jp>\r\n"},
    {"NoAtGivesTheWholeText",
     {"taro", "pdx.ne.jp"},
     "HELO taro\r\nRSET\r\nMAIL FROM:<taro>\r\nRCPT TO:<tv@pdx.ne.jp>\r\n"},
    {"AtAtTheEnd",
     {"taro@", "pdx.ne.jp"},
     "HELO \r\nRSET\r\nMAIL FROM:<taro@>\r\nRCPT TO:<tv@pdx.ne.jp>\r\n"},
    {"EmptySender",
     {"", "pdx.ne.jp"},
     "HELO \r\nRSET\r\nMAIL FROM:<>\r\nRCPT TO:<tv@pdx.ne.jp>\r\n"},
    {"EmptyDomain",
     {"taro@example.jp", ""},
     "HELO example.jp\r\nRSET\r\nMAIL FROM:<taro@example.jp>\r\nRCPT TO:<tv@>\r\n"},
};

TEST_P(SmtpSender, NamesClientSenderAndRecipient) {
    const Transcript transcript =
        Converse({kHappyReads.begin(), kHappyReads.begin() + 4}, GetParam().settings);
    EXPECT_EQ(transcript.wire, GetParam().wire);
    EXPECT_EQ(transcript.state, SmtpState::RcptTo);
}

INSTANTIATE_TEST_SUITE_P(Rows, SmtpSender, testing::ValuesIn(kSenderCases),
                         [](const testing::TestParamInfo<SenderCase>& row) {
                             return std::string(row.param.name);
                         });

// One reply in one state: which codes each state takes.
struct StepCase {
    const char* name;
    SmtpState state;
    int code;
    std::vector<std::string> lines;
    SmtpOutcome outcome;
    SmtpState next;
};

void PrintTo(const StepCase& row, std::ostream* out) {
    *out << row.name;
}

class SmtpStepTest : public testing::TestWithParam<StepCase> {};

constexpr auto kFailure = SmtpOutcome::Failure;
constexpr auto kWaiting = SmtpOutcome::Waiting;

const StepCase kStepCases[] = {
    // Rejected: the error end, nothing sent, the state stays.
    {"GreetingRejects250", SmtpState::Greeting, 250, {}, kFailure, SmtpState::Greeting},
    {"GreetingRejects554", SmtpState::Greeting, 554, {}, kFailure, SmtpState::Greeting},
    {"HeloRejects220", SmtpState::Helo, 220, {}, kFailure, SmtpState::Helo},
    {"HeloRejects251", SmtpState::Helo, 251, {}, kFailure, SmtpState::Helo},
    {"RsetRejects251", SmtpState::Rset, 251, {}, kFailure, SmtpState::Rset},
    {"MailFromRejects251", SmtpState::MailFrom, 251, {}, kFailure, SmtpState::MailFrom},
    {"MailFromRejects550", SmtpState::MailFrom, 550, {}, kFailure, SmtpState::MailFrom},
    {"RcptToRejects252", SmtpState::RcptTo, 252, {}, kFailure, SmtpState::RcptTo},
    {"RcptToRejects550", SmtpState::RcptTo, 550, {}, kFailure, SmtpState::RcptTo},
    {"DataRejects250", SmtpState::Data, 250, {}, kFailure, SmtpState::Data},
    {"EndOfDataRejects251", SmtpState::EndOfData, 251, {}, kFailure, SmtpState::EndOfData},
    {"EndOfDataRejects354", SmtpState::EndOfData, 354, {}, kFailure, SmtpState::EndOfData},
    {"NegativeCodeRejected", SmtpState::Helo, -250, {}, kFailure, SmtpState::Helo},
    // Accepted: the next command.
    {"RcptToAccepts250", SmtpState::RcptTo, 250, {"DATA"}, kWaiting, SmtpState::Data},
    {"RcptToAccepts251", SmtpState::RcptTo, 251, {"DATA"}, kWaiting, SmtpState::Data},
    {"EndOfDataAccepts250", SmtpState::EndOfData, 250, {"QUIT"}, kWaiting, SmtpState::Quit},
    // Whatever QUIT gets back, the mail is already taken.
    {"Quit221", SmtpState::Quit, 221, {}, SmtpOutcome::Success, SmtpState::Quit},
    {"Quit500", SmtpState::Quit, 500, {}, SmtpOutcome::Success, SmtpState::Quit},
    {"Quit0", SmtpState::Quit, 0, {}, SmtpOutcome::Success, SmtpState::Quit},
    // 6 is no state: nothing happens.
    {"StateSixDoesNothing", SmtpState{6}, 250, {}, kWaiting, SmtpState{6}},
};

TEST_P(SmtpStepTest, JudgesTheReply) {
    const StepCase& row = GetParam();
    SmtpState state = row.state;
    const SmtpStep step = OnReply(state, row.code, kSettings, {"MSG=A"});
    EXPECT_EQ(step.linesToSend, row.lines);
    EXPECT_EQ(step.outcome, row.outcome);
    EXPECT_EQ(state, row.next);
}

INSTANTIATE_TEST_SUITE_P(Rows, SmtpStepTest, testing::ValuesIn(kStepCases),
                         [](const testing::TestParamInfo<StepCase>& row) {
                             return std::string(row.param.name);
                         });

TEST(SmtpSession, ALostConnectionEndsInFailureExceptAfterQuit) {
    for (const SmtpState state :
         {SmtpState::Greeting, SmtpState::Helo, SmtpState::Rset, SmtpState::MailFrom,
          SmtpState::RcptTo, SmtpState::Data, SmtpState::EndOfData}) {
        const SmtpStep step = OnConnectionLost(state);
        EXPECT_EQ(step.outcome, SmtpOutcome::Failure) << static_cast<int>(state);
        EXPECT_TRUE(step.linesToSend.empty());
    }
    EXPECT_EQ(OnConnectionLost(SmtpState::Quit).outcome, SmtpOutcome::Success);
}

// The reply code as read strictly from the first three characters.
struct CodeCase {
    const char* name;
    std::string reply;
    std::string codeText;
    std::optional<int> code;
};

void PrintTo(const CodeCase& row, std::ostream* out) {
    *out << row.name;
}

class SmtpReplyCode : public testing::TestWithParam<CodeCase> {};

const CodeCase kCodeCases[] = {
    {"ThreeDigits", "250 ok\r\n", "250", 250},
    {"LeadingZeros", "007", "007", 7},
    {"LeadingBlank", " 25 ok", " 25", 25},
    {"TwoLeadingBlanks", "  4", "  4", 4},
    {"Plus", "+25", "+25", 25},
    {"Minus", "-25", "-25", -25},
    {"BlankThenSign", " -2", " -2", -2},
    {"ShortReply", "25", "25", 25},
    {"Hyphen", "250-first\r\n", "250", 250},
    {"TrailingBlankIsNotANumber", "25 ok", "25 ", std::nullopt},
    {"SignAlone", "-\r\n", "-\r\n", std::nullopt},
    {"BlanksAlone", "   ", "   ", std::nullopt},
    {"TabIsNotABlank", "\t25", "\t25", std::nullopt},
    {"LineFeedOnly", "\n", "\n", std::nullopt},
    {"Letters", "ESMTP ready", "ESM", std::nullopt},
    {"HexIsNotRead", "$FF", "$FF", std::nullopt},
    {"Empty", "", "", std::nullopt},
};

TEST_P(SmtpReplyCode, ReadsTheFirstThreeCharacters) {
    const CodeCase& row = GetParam();
    EXPECT_EQ(ReplyCodeText(row.reply), row.codeText);
    EXPECT_EQ(ReplyCode(row.reply), row.code);
}

INSTANTIATE_TEST_SUITE_P(Rows, SmtpReplyCode, testing::ValuesIn(kCodeCases),
                         [](const testing::TestParamInfo<CodeCase>& row) {
                             return std::string(row.param.name);
                         });

TEST(SmtpSession, TrimsTrailingControlsAndBlanksOnly) {
    EXPECT_EQ(TrimReply("250 ok \t\r\n"), "250 ok");
    EXPECT_EQ(TrimReply("250-a\r\n250 b\r\n"), "250-a\r\n250 b");
    EXPECT_EQ(TrimReply(" \r\n"), "");
    // Bytes from 0x80 up are characters, not controls, however char is signed.
    EXPECT_EQ(TrimReply("250 \x82\xA0\r\n"), "250 \x82\xA0");
    EXPECT_EQ(TrimReply("250 \x7F"), "250 \x7F");
}

// Successive reads in, whole replies out.
struct ReaderCase {
    const char* name;
    std::vector<std::string> reads;
    std::vector<std::string> replies;
};

void PrintTo(const ReaderCase& row, std::ostream* out) {
    *out << row.name;
}

class SmtpReader : public testing::TestWithParam<ReaderCase> {};

std::vector<std::string> Bytewise(const std::string& text) {
    std::vector<std::string> reads;
    for (const char c : text) {
        reads.emplace_back(1, c);
    }
    return reads;
}

std::vector<std::string> Chunks(const std::string& text, std::size_t size) {
    std::vector<std::string> reads;
    for (std::size_t at = 0; at < text.size(); at += size) {
        reads.push_back(text.substr(at, size));
    }
    return reads;
}

std::string LongReply() {
    std::string reply;
    for (int line = 0; line < 99; ++line) {
        reply += "250-" + std::string(46, 'a') + "\r\n";
    }
    return reply + "250 " + std::string(46, 'b') + "\r\n";  // 5000 bytes
}

const ReaderCase kReaderCases[] = {
    {"OneLine", {"220 ready\r\n"}, {"220 ready\r\n"}},
    {"ContinuationThenLastLine", {"220-hi\r\n", "220 ready\r\n"}, {"220-hi\r\n220 ready\r\n"}},
    {"ManyLinesInOneRead", {"250-a\r\n250-b\r\n250 c\r\n"}, {"250-a\r\n250-b\r\n250 c\r\n"}},
    {"OneByteAtATime",
     Bytewise("220-a\r\n220 b\r\n250 c\r\n"),
     {"220-a\r\n220 b\r\n", "250 c\r\n"}},
    {"LineFeedOnly", {"220-a\n", "220 b\n"}, {"220-a\n220 b\n"}},
    {"BareLineFeed", {"\n"}, {"\n"}},
    {"SuccessiveReplies", {"250 a\r\n", "354 b\r\n"}, {"250 a\r\n", "354 b\r\n"}},
    {"HyphenAfterNonDigitsEndsTheReply", {"ab-c\r\n"}, {"ab-c\r\n"}},
    {"HyphenAfterTwoDigitsEndsTheReply", {"25-c\r\n"}, {"25-c\r\n"}},
    {"NoLineFeedWaits", {"220 rea", "dy\r\n"}, {"220 ready\r\n"}},
    {"FiveThousandBytesInFullBuffers", Chunks(LongReply(), 1024), {LongReply()}},
    {"EmptyReadsAddNothing", {"", "250 a\r\n", ""}, {"250 a\r\n"}},
    {"EndlessReplyIsCut",
     Chunks(std::string(SmtpReplyReader::kMaxReply, 'x'), 1024),
     {std::string(SmtpReplyReader::kMaxReply, 'x')}},
};

TEST_P(SmtpReader, JoinsReadsIntoReplies) {
    SmtpReplyReader reader;
    std::vector<std::string> replies;
    for (const std::string& read : GetParam().reads) {
        if (std::optional<std::string> reply = reader.Add(read)) {
            replies.push_back(*reply);
        }
    }
    EXPECT_EQ(replies, GetParam().replies);
}

INSTANTIATE_TEST_SUITE_P(Rows, SmtpReader, testing::ValuesIn(kReaderCases),
                         [](const testing::TestParamInfo<ReaderCase>& row) {
                             return std::string(row.param.name);
                         });

TEST(SmtpSession, ClearDropsAPartReply) {
    SmtpReplyReader reader;
    EXPECT_FALSE(reader.Add("220-old session\r\n"));
    reader.Clear();
    EXPECT_EQ(reader.Add("220 new\r\n"), "220 new\r\n");
}

}  // namespace
}  // namespace tarvelo
