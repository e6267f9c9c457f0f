// The text side of the SMTP conversation: reply codes, trimming for the log, and reads joined
// into replies.
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "mail/SmtpText.h"

namespace tarvelo {
namespace {

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

TEST(SmtpText, TrimsTrailingControlsAndBlanksOnly) {
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

}  // namespace
}  // namespace tarvelo
