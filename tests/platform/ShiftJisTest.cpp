#include "platform/ShiftJis.h"

#include <gtest/gtest.h>

#include <string>

namespace tarvelo {
namespace {

struct EncodeCase {
    const char* name;
    std::string utf8;
    std::string sjis;
    friend void PrintTo(const EncodeCase& row, std::ostream* out) { *out << row.name; }
};

class Utf8ToShiftJisTest : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(Utf8ToShiftJisTest, Converts) {
    EXPECT_EQ(Utf8ToShiftJis(GetParam().utf8), GetParam().sjis);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8ToShiftJisTest,
    ::testing::Values(EncodeCase{"Empty", "", ""}, EncodeCase{"Ascii", "PHSNO=1234", "PHSNO=1234"},
                      EncodeCase{"HalfWidthKana", "ｶﾞｯｺｳ", "\xB6\xDE\xAF\xBA\xB3"},
                      EncodeCase{"FullWidth", "ＡＢＣ", "\x82\x60\x82\x61\x82\x62"},
                      EncodeCase{"WaveDash", "\u301C", "\x81\x60"},
                      EncodeCase{"FullwidthTilde", "\uFF5E", "\x81\x60"},
                      EncodeCase{"MinusSign", "\u2212", "\x81\x7C"},
                      EncodeCase{"FullwidthHyphenMinus", "\uFF0D", "\x81\x7C"},
                      EncodeCase{"DoubleVerticalLine", "\u2016", "\x81\x61"},
                      EncodeCase{"ParallelTo", "\u2225", "\x81\x61"},
                      EncodeCase{"CentSign", "\u00A2", "\x81\x91"},
                      EncodeCase{"FullwidthCentSign", "\uFFE0", "\x81\x91"},
                      EncodeCase{"PoundSign", "\u00A3", "\x81\x92"},
                      EncodeCase{"NotSign", "\u00AC", "\x81\xCA"},
                      EncodeCase{"FullwidthYenSign", "\uFFE5", "\x81\x8F"},
                      // Where glibc and Windows disagree, both builds give these bytes.
                      EncodeCase{"YenSignIsRomanBackslashPlace", "\u00A5", "\x5C"},
                      EncodeCase{"OverlineIsRomanTildePlace", "\u203E", "\x7E"},
                      EncodeCase{"C1ControlIsMarked", "\u0080", "\xFF"},
                      EncodeCase{"WindowsOnlyPrivateUseIsMarked", "\uF8F0\uF8F3", "\xFF\xFF"},
                      EncodeCase{"NoBestFitForAccent", "\u00E9\u0101", "\xFF\xFF"},
                      EncodeCase{"DecidedBetweenKana", "ア\u00A5イ", "\x83\x41\x5C\x83\x43"},
                      EncodeCase{"EmojiIsMarkedNotReplaced", "A\U0001F600B",
                                 "A\xFF"
                                 "B"},
                      EncodeCase{"AccentedLetterIsMarked", "caf\u00E9", "caf\xFF"},
                      EncodeCase{"TwoUnencodableInARow", "\u00E9\u00E8", "\xFF\xFF"},
                      EncodeCase{"BrokenUtf8IsMarked", "a\x80z", "a\xFFz"},
                      EncodeCase{"TruncatedUtf8AtEnd", "a\xE3\x81", "a\xFF"},
                      EncodeCase{"LineBreakKept", "A\r\nB", "A\r\nB"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Utf8ToShiftJis, NeverProducesAQuestionMarkForAnUnencodableCharacter) {
    for (const char* text : {"\u00E9", "\U0001F600", "\u4E02", "\u0100"}) {
        const std::string sjis = Utf8ToShiftJis(text);
        EXPECT_EQ(sjis.find('?'), std::string::npos) << text;
        EXPECT_EQ(sjis, std::string(1, kUnencodableByte)) << text;
    }
}

TEST(ShiftJisToUtf8, DecodesValidText) {
    EXPECT_EQ(ShiftJisToUtf8("MSG=\x83\x4A\x81\x4A\x83\x41"), "MSG=カ゛ア");
    EXPECT_EQ(ShiftJisToUtf8("\xB1\xB2"), "ｱｲ");
    EXPECT_EQ(ShiftJisToUtf8("\x81\x60"), "\uFF5E");
    // Each half-width kana takes three bytes of UTF-8: a long run outgrows any room sized by
    // the input, and nothing may be lost or repeated where the room runs out.
    std::string kana, kanaUtf8;
    for (int i = 0; i < 700; ++i) {
        kana += "\xB1\xB2";
        kanaUtf8 += "ｱｲ";
    }
    EXPECT_EQ(ShiftJisToUtf8(kana), kanaUtf8);
    EXPECT_EQ(ShiftJisToUtf8(kana + "\x80" + kana), kanaUtf8 + "\uFFFD" + kanaUtf8);
}

class Utf8TextToShiftJisTest : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(Utf8TextToShiftJisTest, EveryLineBreakBecomesCrLf) {
    EXPECT_EQ(Utf8TextToShiftJis(GetParam().utf8), GetParam().sjis);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8TextToShiftJisTest,
    ::testing::Values(EncodeCase{"LineFeed", "A\nB", "A\r\nB"},
                      EncodeCase{"CrLfStaysOne", "A\r\nB", "A\r\nB"},
                      EncodeCase{"LoneCrKept", "A\rB", "A\rB"},
                      EncodeCase{"LineSeparator", "A\u2028B", "A\r\nB"},
                      EncodeCase{"ParagraphSeparator", "A\u2029B", "A\r\nB"},
                      EncodeCase{"BreakAloneIsTwoBytes", "\n", "\r\n"},
                      EncodeCase{"BreaksInARow", "\n\r\n\n", "\r\n\r\n\r\n"},
                      EncodeCase{"KanaAroundABreak", "ア\nイ", "\x83\x41\r\n\x83\x43"},
                      EncodeCase{"UnencodableStillMarked", "\u00E9\n", "\xFF\r\n"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ShiftJisToUtf8, InvalidBytesKeepTheRestOfTheLine) {
    EXPECT_EQ(ShiftJisToUtf8("A\xFF"
                             "B\x80"
                             "C"),
              "A\uFFFDB\uFFFDC");
    // Windows gives these single bytes characters of its own; both builds refuse them.
    EXPECT_EQ(ShiftJisToUtf8("\xA0\xFD\xFE"), "\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(ShiftJisToUtf8("\x83\x41\x80\x83\x41"), "ア\uFFFDア");
    // A lead byte at the very end of the text.
    EXPECT_EQ(ShiftJisToUtf8("AB\x82"), "AB\uFFFD");
    // Escape bytes of an encoded mail line are shown, not lost.
    EXPECT_EQ(ShiftJisToUtf8("MSG=\x1B$B#A\x1B(J"), "MSG=\x1B$B#A\x1B(J");
}

}  // namespace
}  // namespace tarvelo
