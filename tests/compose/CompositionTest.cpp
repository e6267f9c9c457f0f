#include "compose/Composition.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ShiftJis.h"

namespace tarvelo {
namespace {

std::string Repeat(std::string_view utf8, std::size_t times) {
    std::string text;
    for (std::size_t i = 0; i < times; ++i) {
        text += utf8;
    }
    return Utf8ToShiftJis(text);
}

struct ErrorCase {
    const char* name;
    std::string message;  // Shift-JIS
    bool testMode;
    MessageError error;
    std::size_t previewBytes;
    friend void PrintTo(const ErrorCase& row, std::ostream* out) { *out << row.name; }
};

class ComposeErrorTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ComposeErrorTest, ReportsTheFirstRuleThatApplies) {
    const ErrorCase& row = GetParam();
    const Composition result = Compose({row.message, "09012345678", "", row.testMode});
    EXPECT_EQ(result.messageError, row.error);
    EXPECT_EQ(result.preview.size(), row.previewBytes);
    EXPECT_FALSE(result.phsNoMissing);
    EXPECT_EQ(result.sendEnabled, row.error == MessageError::None);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ComposeErrorTest,
    ::testing::Values(
        ErrorCase{"Empty", "", false, MessageError::Empty, 0},
        ErrorCase{"OnlyInvalidIsNotEmpty", Repeat("漢", 2), false, MessageError::InvalidCharacter,
                  0},
        ErrorCase{"InvalidBeatsTooLong", Repeat("ア", 70) + Utf8ToShiftJis("、"), false,
                  MessageError::InvalidCharacter, 140},
        ErrorCase{"LineBreakIsInvalid", Repeat("ア", 2) + "\r\n" + Repeat("イ", 2), false,
                  MessageError::InvalidCharacter, 8},
        ErrorCase{"SixtyNineCharacters", Repeat("ア", 69), false, MessageError::None, 138},
        ErrorCase{"SeventyCharacters", Repeat("ア", 70), false, MessageError::TooLong, 140},
        ErrorCase{"SixtyNineHalfWidthBecomeFullWidth", Repeat("A", 69), false, MessageError::None,
                  138},
        ErrorCase{"ThirtyFiveVoicedKanaAreSeventy", Repeat("ガ", 35), false, MessageError::TooLong,
                  140},
        ErrorCase{"TestModeEmpty", "", true, MessageError::Empty, 0},
        ErrorCase{"TestModeTakesAnything", Utf8ToShiftJis("abc漢字,. ｱ\r\n"), true,
                  MessageError::None, 13},
        ErrorCase{"TestModeControls", "a\tb\x1B[2J", true, MessageError::InvalidCharacter, 7},
        ErrorCase{"TestMode138HalfWidth", Repeat("a", 138), true, MessageError::None, 138},
        ErrorCase{"TestMode139HalfWidth", Repeat("a", 139), true, MessageError::TooLong, 139},
        ErrorCase{"TestModeSeventyKanji", Repeat("漢", 70), true, MessageError::TooLong, 140},
        // What Shift-JIS cannot hold would vanish from the mail: refused even unconverted.
        ErrorCase{"TestModeRefusesAccent", Utf8ToShiftJis("café"), true,
                  MessageError::InvalidCharacter, 4},
        ErrorCase{"TestModeRefusesEmoji", Utf8ToShiftJis("ア\U0001F600"), true,
                  MessageError::InvalidCharacter, 3},
        ErrorCase{"TestModeRefusesRightToLeftMark", Utf8ToShiftJis("ab\u200F"), true,
                  MessageError::InvalidCharacter, 3},
        ErrorCase{"TestModeInvalidBeatsTooLong", Repeat("a", 139) + Utf8ToShiftJis("é"), true,
                  MessageError::InvalidCharacter, 140}),
    [](const auto& row) { return std::string(row.param.name); });

struct MailImageCase {
    const char* name;
    CompositionInput input;  // Shift-JIS
    std::vector<std::string> lines;
    friend void PrintTo(const MailImageCase& row, std::ostream* out) { *out << row.name; }
};

class ComposeMailImageTest : public ::testing::TestWithParam<MailImageCase> {};

TEST_P(ComposeMailImageTest, Lines) {
    EXPECT_EQ(Compose(GetParam().input).mailImage, GetParam().lines);
}

const std::string kAb = Utf8ToShiftJis("ＡＢ");

INSTANTIATE_TEST_SUITE_P(
    Cases, ComposeMailImageTest,
    ::testing::Values(
        MailImageCase{"StartUp", {"", "", ""}, {"PHSNO=", "MSG="}},
        MailImageCase{
            "NoReplyNumber", {"ab", "07012345678", ""}, {"PHSNO=07012345678", "MSG=" + kAb}},
        MailImageCase{"ReplyNumber",
                      {"ab", "07012345678", "0312345678"},
                      {"PHSNO=07012345678", "RESNO=0312345678", "MSG=" + kAb}},
        MailImageCase{"BlanksTakenAsTyped", {"ab", " ", " "}, {"PHSNO= ", "RESNO= ", "MSG=" + kAb}},
        MailImageCase{"ConvertedBreaksRunTogether", {"a\r\nb", "1", ""}, {"PHSNO=1", "MSG=" + kAb}},
        MailImageCase{
            "TestModeLines", {"ab\r\ncd\r\nef", "1", "", true}, {"PHSNO=1", "MSG=ab", "cd", "ef"}},
        MailImageCase{
            "TestModeLoneCrAndLf", {"a\rb\nc", "1", "", true}, {"PHSNO=1", "MSG=a", "b", "c"}},
        MailImageCase{"TestModeEmptyLinesKept",
                      {"a\r\n\r\nb\r\n", "1", "", true},
                      {"PHSNO=1", "MSG=a", "", "b", ""}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Compose, LongMessageStaysOneLine) {
    const Composition result = Compose({Repeat("ア", 100), "1", ""});
    ASSERT_EQ(result.mailImage.size(), 2u);
    EXPECT_EQ(result.mailImage[1], "MSG=" + Repeat("ア", 100));
}

TEST(Compose, MissingNumberAndMessageErrorAreBothReported) {
    const Composition result = Compose({"漢", "", "", false});
    EXPECT_EQ(result.messageError, MessageError::InvalidCharacter);
    EXPECT_TRUE(result.phsNoMissing);
    EXPECT_FALSE(result.sendEnabled);

    const Composition valid = Compose({"A", "", ""});
    EXPECT_EQ(valid.messageError, MessageError::None);
    EXPECT_TRUE(valid.phsNoMissing);
    EXPECT_FALSE(valid.sendEnabled);
}

TEST(Compose, ANumberThatWouldNotReachTheWireAsShownIsRefused) {
    const struct {
        const char* name;
        std::string phsNo;
        std::string resNo;
        std::string_view errorText;
    } rows[] = {
        {"Digits", "09012345678", "", ""},
        {"Empty", "", "", "PHS Noがありません"},
        {"AccentedLetter", "0901234" + Utf8ToShiftJis("é"), "", "不正な文字がふくまれています"},
        {"LineBreak", "070\r\n9", "", "不正な文字がふくまれています"},
        {"LongerThanAnyNumber", Repeat("０", 16) + "0", "", "PHS Noが長すぎます"},
        {"ReplyNumberWithATab", "070", "03\t1", "返答先番号が不正です"},
    };
    for (const auto& row : rows) {
        const Composition result = Compose({"A", row.phsNo, row.resNo});
        EXPECT_EQ(PhsNoErrorText(result), row.errorText) << row.name;
        EXPECT_EQ(result.sendEnabled, row.errorText.empty()) << row.name;
    }
}

TEST(Compose, TestModeSwitchesBetweenRawAndConverted) {
    const std::string message = Utf8ToShiftJis("ｶﾞ a");
    EXPECT_EQ(Compose({message, "1", "", true}).preview, message);
    EXPECT_EQ(Compose({message, "1", "", false}).preview, Utf8ToShiftJis("カ゛　Ａ"));
}

struct RowsCase {
    const char* name;
    std::string preview;  // UTF-8
    int columns;
    std::vector<std::string> rows;  // UTF-8
    friend void PrintTo(const RowsCase& row, std::ostream* out) { *out << row.name; }
};

class PreviewRowsTest : public ::testing::TestWithParam<RowsCase> {};

TEST_P(PreviewRowsTest, WrapsAtTheColumns) {
    std::vector<std::string> expected;
    for (const std::string& row : GetParam().rows) {
        expected.push_back(Utf8ToShiftJis(row));
    }
    EXPECT_EQ(PreviewRows(Utf8ToShiftJis(GetParam().preview), GetParam().columns), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PreviewRowsTest,
    ::testing::Values(
        RowsCase{
            "FiveColumns", "アイウエオカキクケコサシ", 5, {"アイウエオ", "カキクケコ", "サシ"}},
        RowsCase{"FifteenColumns", "アイウエオカキクケコサシ", 15, {"アイウエオカキクケコサシ"}},
        RowsCase{"TwelveColumns",
                 "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮ",
                 12,
                 {"ＡＢＣＤＥＦＧＨＩＪＫＬ", "ＭＮ"}},
        RowsCase{"HalfWidthKatakana", "ｱｲｳｴｵｶｷｸｹｺｻ", 5, {"ｱｲｳｴｵｶｷｸｹｺ", "ｻ"}},
        RowsCase{"ExactFitAddsNoRow", "アイウエオ", 5, {"アイウエオ"}},
        RowsCase{"HalfWidthTakesHalfACell", "abcdefghijkl", 5, {"abcdefghij", "kl"}},
        RowsCase{"FullWidthNeverStraddles", "aアイウエオ", 5, {"aアイウエ", "オ"}},
        RowsCase{"HalfWidthFillsTheLastHalfCell", "aアイウエb", 5, {"aアイウエb"}},
        RowsCase{"LineBreaksStartRows", "ア\r\nイ\rウ\nエ", 5, {"ア", "イ", "ウ", "エ"}},
        RowsCase{"TrailingBreakGivesEmptyRow", "ア\r\n", 5, {"ア", ""}},
        RowsCase{"EmptyIsOneEmptyRow", "", 12, {""}},
        RowsCase{"HalfWidthAtFifteen",
                 std::string(69, 'A'),
                 15,
                 {std::string(30, 'A'), std::string(30, 'A'), std::string(9, 'A')}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(PreviewRows, LeadByteAtTheEndIsHalfWidth) {
    EXPECT_EQ(PreviewRows("abcdefghij\x83", 5), (std::vector<std::string>{"abcdefghij", "\x83"}));
    EXPECT_EQ(PreviewRows("abcdefghi\x83\r\nz", 5),
              (std::vector<std::string>{"abcdefghi\x83", "z"}));
}

// The window draws from spans: the rows are where the spans say, line breaks outside them.
TEST(PreviewSpans, PointIntoThePreview) {
    const std::string preview = Utf8ToShiftJis("アイウエオカ\r\nｱ");
    const std::vector<PreviewSpan> spans = PreviewSpans(preview, 5);
    ASSERT_EQ(spans.size(), 3u);
    EXPECT_EQ(spans[0].begin, 0u);
    EXPECT_EQ(spans[0].end, 10u);
    EXPECT_EQ(spans[1].begin, 10u);
    EXPECT_EQ(spans[1].end, 12u);
    EXPECT_EQ(spans[2].begin, 14u);
    EXPECT_EQ(spans[2].end, 15u);
}

}  // namespace
}  // namespace tarvelo
