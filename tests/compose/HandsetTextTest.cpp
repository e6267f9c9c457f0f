#include "compose/HandsetText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "Codes.h"

namespace tarvelo {
namespace {

using testing::Codes;
using testing::IconvJis;

struct ByteRange {
    unsigned first;
    unsigned last;
};

bool InRanges(unsigned byte, std::initializer_list<ByteRange> ranges) {
    for (const ByteRange& range : ranges) {
        if (byte >= range.first && byte <= range.last) {
            return true;
        }
    }
    return false;
}

TEST(ShiftJisByteClass, EveryByte) {
    for (unsigned byte = 0; byte < 256; ++byte) {
        ByteClass expected = ByteClass::Illegal;  // zero too, which ends the text
        if (InRanges(byte, {{0x81, 0x9F}, {0xE0, 0xFC}})) {
            expected = ByteClass::Lead;
        } else if (InRanges(byte, {{0x20, 0x7E}, {0xA1, 0xDF}})) {
            expected = ByteClass::Single;
        } else {
            ASSERT_TRUE(InRanges(byte, {{0x00, 0x1F}, {0x7F, 0x80}, {0xA0, 0xA0}, {0xFD, 0xFF}}));
        }
        EXPECT_EQ(ShiftJisByteClass(static_cast<unsigned char>(byte)), expected)
            << "byte 0x" << std::hex << byte;
    }
}

TEST(ShiftJisToJis, AgreesWithIconvAndRefusesTheRest) {
    std::set<std::uint16_t> results;
    int comparedWithIconv = 0;
    for (unsigned code = 0; code <= 0xFFFF; ++code) {
        const unsigned lead = code >> 8;
        const unsigned second = code & 0xFF;
        const std::uint16_t jis = ShiftJisToJis(static_cast<std::uint16_t>(code));
        if (!InRanges(lead, {{0x81, 0x9F}, {0xE0, 0xEF}}) ||
            !InRanges(second, {{0x40, 0x7E}, {0x80, 0xFC}})) {
            EXPECT_EQ(jis, 0) << "code 0x" << std::hex << code;
            continue;
        }
        // Every convertible code lands on its own cell of the 94 x 94 JIS plane.
        EXPECT_TRUE(InRanges(jis >> 8, {{0x21, 0x7E}}) && InRanges(jis & 0xFF, {{0x21, 0x7E}}))
            << "code 0x" << std::hex << code;
        EXPECT_TRUE(results.insert(jis).second) << "code 0x" << std::hex << code;
        if (const std::uint16_t expected = IconvJis(static_cast<std::uint16_t>(code))) {
            EXPECT_EQ(jis, expected) << "code 0x" << std::hex << code;
            ++comparedWithIconv;
        }
    }
    EXPECT_EQ(results.size(), 94u * 94u);
    // JIS X 0208 has 6879 characters; iconv must have answered for nearly all of them.
    EXPECT_GT(comparedWithIconv, 6800);
}

struct ConvertCase {
    const char* name;
    std::string input;  // UTF-8 unless raw
    std::string output;
    bool invalid;
    bool raw = false;  // input is Shift-JIS bytes as they stand
    friend void PrintTo(const ConvertCase& row, std::ostream* out) { *out << row.name; }
};

class ConvertToHandsetTextTest : public ::testing::TestWithParam<ConvertCase> {};

TEST_P(ConvertToHandsetTextTest, Converts) {
    const ConvertCase& row = GetParam();
    const HandsetText result =
        ConvertToHandsetText(row.raw ? row.input : Utf8ToShiftJis(row.input));
    EXPECT_EQ(result.text, Utf8ToShiftJis(row.output));
    EXPECT_EQ(result.invalid, row.invalid);
    const std::string message = row.raw ? row.input : Utf8ToShiftJis(row.input);
    EXPECT_EQ(UnsendableCharacters(message, message.size()).empty(), !row.invalid);
}

struct UnsendableCase {
    const char* name;
    const char* input;  // UTF-8
    std::size_t limit;
    std::vector<std::size_t> found;
};

// Indexes of the characters as typed; a line break is one of them.
const UnsendableCase kUnsendableCases[] = {
    {"Punctuation", "ハイ。Ａ、", 9, {2, 4}},
    {"LineBreakCountsOne", "漢\r\nＡ字", 9, {0, 1, 3}},
    {"UpToTheLimit", "漢漢漢", 2, {0, 1}},
};

TEST(UnsendableCharacters, IndexesAsTyped) {
    for (const UnsendableCase& row : kUnsendableCases) {
        EXPECT_EQ(UnsendableCharacters(Utf8ToShiftJis(row.input), row.limit), row.found)
            << row.name;
    }
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Cases, ConvertToHandsetTextTest,
    ::testing::Values(ConvertCase{"Empty", "", "", false},
                      ConvertCase{"LowerCaseBothWidths", "ａｂｃabc", "ＡＢＣＡＢＣ", false},
                      ConvertCase{"DigitsBothWidths", "０１２012", "０１２０１２", false},
                      ConvertCase{"HelloWorld", "HELLO, WORLD.", "ＨＥＬＬＯ　ＷＯＲＬＤ", true},
                      ConvertCase{"VoicedAndSmallKana", "がっこう", "カ゛ツコウ", false},
                      ConvertCase{"HalfWidthVoicedAndSmallKana", "ｶﾞｯｺｳ", "カ゛ツコウ", false},
                      ConvertCase{"SemiVoiced", "パン", "ハ゜ン", false},
                      ConvertCase{"KatakanaOnlyCells", "ヴヵヶ", "ウ゛カケ", false},
                      ConvertCase{"ObsoleteAndSmallWa", "ゐゑゎ", "イエワ", false},
                      ConvertCase{"BracketsAndFullWidthProlongedSound", "「ハロー」", "（ハロ－）",
                                  false},
                      ConvertCase{"HalfWidthProlongedSound", "ﾊﾛｰ", "ハロー", false},
                      ConvertCase{"FilledAndLargeCircle", "●◯", "ＯＯ", false},
                      ConvertCase{"WhiteCircleAndAtSigns", "○＠@A", "Ａ", true},
                      ConvertCase{"Kanji", "漢字", "", true},
                      ConvertCase{"CrLfDropped", "AB\r\nCD", "ＡＢＣＤ", true},
                      ConvertCase{"LoneCrDropped", "AB\rCD", "ＡＢＣＤ", true},
                      ConvertCase{"LoneLfDropped", "AB\nCD", "ＡＢＣＤ", true},
                      ConvertCase{"TabDropped", "A\tB", "ＡＢ", true},
                      ConvertCase{"LeadByteAtEnd", "AB\x82", "ＡＢ", true, true},
                      ConvertCase{"LeadByteBeforeZeroStops", "AB\x82\0CD"s, "ＡＢ", true, true},
                      ConvertCase{"ZeroStops", "AB\0CD"s, "ＡＢ", false, true},
                      ConvertCase{"MalformedPairTakesTheNextByte", "\x82 A", "Ａ", true, true},
                      ConvertCase{"LeadByteAsSecondByte", "\x83\xE0\x82\x60", "Ａ", true, true},
                      ConvertCase{"UserDefinedArea",
                                  "\xF0\x40"
                                  "A",
                                  "Ａ", true, true},
                      ConvertCase{"IllegalBytesAlone",
                                  "\x80\xA0\xFD\xFE\xFF"
                                  "A",
                                  "Ａ", true, true}),
    [](const auto& row) { return std::string(row.param.name); });

// Random bytes, weighted towards the lead bytes of the symbols and kana, must come out as
// repertoire characters only, which convert again without loss.
TEST(ConvertToHandsetText, RandomBytesGiveRepertoireTextOnly) {
    std::set<std::uint16_t> repertoire;
    for (std::string_view group :
         {std::string_view("　？！゛゜ー／“”（）－￥＃＆＊"), testing::kFullWidthDigits,
          testing::kFullWidthLetters, testing::kPlainKatakana}) {
        for (std::uint16_t code : Codes(group)) {
            repertoire.insert(code);
        }
    }
    ASSERT_EQ(repertoire.size(), 98u);

    const std::string prolongedSoundMark = Utf8ToShiftJis("ー");
    const std::string minusSign = Utf8ToShiftJis("－");
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> anyByte(0, 255);
    std::uniform_int_distribution<int> kanaLead(0x81, 0x83);
    std::uniform_int_distribution<std::size_t> length(0, 200);
    for (int round = 0; round < 3000; ++round) {
        std::string input;
        for (std::size_t i = length(random); i > 0; --i) {
            input.push_back(static_cast<char>(random() % 2 ? anyByte(random) : kanaLead(random)));
        }
        const std::size_t ends = std::min(input.find('\0'), input.size());
        const HandsetText result = ConvertToHandsetText(input);
        ASSERT_EQ(result.text.size() % 2, 0u) << round;
        ASSERT_LE(result.text.size(), 2 * ends) << round;
        for (std::size_t i = 0; i < result.text.size(); i += 2) {
            const auto code =
                static_cast<std::uint16_t>(static_cast<unsigned char>(result.text[i]) << 8 |
                                           static_cast<unsigned char>(result.text[i + 1]));
            ASSERT_TRUE(repertoire.contains(code)) << round << " 0x" << std::hex << code;
        }
        // Converted again, the text stays as it is but for ー, which the full-width table turns
        // into －; from then on it is stable.
        std::string expectedAgain = result.text;
        for (std::size_t i = 0; i < expectedAgain.size(); i += 2) {
            if (expectedAgain.compare(i, 2, prolongedSoundMark) == 0) {
                expectedAgain.replace(i, 2, minusSign);
            }
        }
        const HandsetText again = ConvertToHandsetText(result.text);
        ASSERT_EQ(again.text, expectedAgain) << round;
        ASSERT_FALSE(again.invalid) << round;
        ASSERT_EQ(ConvertToHandsetText(again.text).text, again.text) << round;
        ASSERT_EQ(ConvertToHandsetText(input.substr(0, ends)).text, result.text) << round;
    }
}

}  // namespace
}  // namespace tarvelo
