#include "mail/Iso2022Jp.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ShiftJis.h"

namespace tarvelo {
namespace {

// glibc's iconv as the answer key: converts all of text or gives nothing.
std::optional<std::string> Iconv(const char* from, const char* to, std::string_view text) {
    const iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    std::string out(4 * text.size() + 16, '\0');
    char* source = const_cast<char*>(text.data());
    std::size_t sourceLeft = text.size();
    char* target = out.data();
    std::size_t targetLeft = out.size();
    bool ok = iconv(cd, &source, &sourceLeft, &target, &targetLeft) != static_cast<std::size_t>(-1);
    // Flushes the shift back to the initial state.
    ok = ok && iconv(cd, nullptr, nullptr, &target, &targetLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    if (!ok) {
        return std::nullopt;
    }
    out.resize(out.size() - targetLeft);
    return out;
}

struct EncodeCase {
    const char* name;
    std::string sjis;
    std::string encoded;
    friend void PrintTo(const EncodeCase& row, std::ostream* out) { *out << row.name; }
};

class EncodeIso2022JpTest : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(EncodeIso2022JpTest, Encodes) {
    EXPECT_EQ(EncodeIso2022Jp(GetParam().sjis), GetParam().encoded);
}

// Shift-JIS: Ａ 8260, Ｂ 8261, Ｃ 8262, ０ 824F, ７ 8256, カ 834A, ゛ 814A, ア 8341, 亜 889F.
// JIS X 0208: Ａ 2341 "#A", ０ 2330 "#0", カ 252B "%+", ゛ 212B "!+", ア 2522 "%\"", 亜 3021.
INSTANTIATE_TEST_SUITE_P(
    Lines, EncodeIso2022JpTest,
    ::testing::Values(
        // The gateway's own lines.
        EncodeCase{"AsciiLineUnchanged", "PHSNO=1234", "PHSNO=1234"},
        EncodeCase{"OneEscapePairForARun", "MSG=\x82\x60\x82\x61\x82\x62",
                   "MSG=\x1B$B#A#B#C\x1B(J"},
        EncodeCase{"VoicedMarkIsACharacter", "MSG=\x83\x4A\x81\x4A\x83\x41",
                   "MSG=\x1B$B%+!+%\"\x1B(J"},
        EncodeCase{"EscapeBackBeforeAscii", "PHSNO=\x82\x4F\x82\x56\x82\x4F-1",
                   "PHSNO=\x1B$B#0#7#0\x1B(J-1"},
        EncodeCase{"Empty", "", ""},
        EncodeCase{"StartsWithDoubleByte",
                   "\x88\x9F"
                   "a",
                   "\x1B$B0!\x1B(Ja"},
        EncodeCase{"EscapeOnlyOnStateChange", "\x82\x60 \x82\x61", "\x1B$B#A\x1B(J \x1B$B#B\x1B(J"},
        // Single-byte characters other than ASCII.
        EncodeCase{"HalfWidthKanaKept", "A\xB1", "A\xB1"},
        EncodeCase{"HalfWidthKanaAfterRunIsSingleByte", "\x82\x60\xB1\xDF",
                   "\x1B$B#A\x1B(J\xB1\xDF"},
        // Bytes that are no character.
        EncodeCase{"TabDropped", "A\tB", "AB"},
        EncodeCase{"TabInsideRunKeepsTheRun", "\x82\x60\t\x82\x61", "\x1B$B#A#B\x1B(J"},
        EncodeCase{"IllegalBytesDropped", "\x01\r\n\x7F\x80\xA0\xFD\xFE\xFFZ", "Z"},
        EncodeCase{"LeadByteAtEndDropped", "AB\x82", "AB"},
        EncodeCase{"LeadByteAtEndOfRunDropped", "\x82\x60\x82", "\x1B$B#A\x1B(J"},
        EncodeCase{"OnlyALeadByte", "\xE0", ""},
        // Characters without a JIS X 0208 code vanish whole, without opening a run.
        EncodeCase{"UserDefinedDropped",
                   "A\xF0\x40"
                   "B",
                   "AB"},
        EncodeCase{"VendorAreaDropped", "\xFA\x40\xFC\xFC", ""},
        EncodeCase{"UserDefinedInsideRun", "\x82\x60\xF0\x40\x82\x61", "\x1B$B#A#B\x1B(J"},
        EncodeCase{"BadSecondByteDropped",
                   "\x82\x7F"
                   "C",
                   "C"}),
    [](const auto& row) { return std::string(row.param.name); });

// The vendor codes of code page 932 that glibc's ISO-2022-JP refuses (their Unicode forms differ
// from JIS X 0208's), though they are plain JIS X 0208 characters.
struct VendorFormCase {
    const char* name;
    std::uint16_t sjis;
    std::uint16_t jis;
    friend void PrintTo(const VendorFormCase& row, std::ostream* out) { *out << row.name; }
};

class VendorFormTest : public ::testing::TestWithParam<VendorFormCase> {};

TEST_P(VendorFormTest, MapsToItsJisCode) {
    const std::string sjis{static_cast<char>(GetParam().sjis >> 8),
                           static_cast<char>(GetParam().sjis & 0xFF)};
    const std::string jis{static_cast<char>(GetParam().jis >> 8),
                          static_cast<char>(GetParam().jis & 0xFF)};
    EXPECT_FALSE(Iconv("CP932", "ISO-2022-JP", sjis).has_value());
    EXPECT_EQ(EncodeIso2022Jp(sjis), "\x1B$B" + jis + "\x1B(J");
}

INSTANTIATE_TEST_SUITE_P(CodePage932, VendorFormTest,
                         ::testing::Values(VendorFormCase{"WaveDash", 0x8160, 0x2141},
                                           VendorFormCase{"ParallelTo", 0x8161, 0x2142},
                                           VendorFormCase{"MinusSign", 0x817C, 0x215D},
                                           VendorFormCase{"CentSign", 0x8191, 0x2171},
                                           VendorFormCase{"PoundSign", 0x8192, 0x2172},
                                           VendorFormCase{"NotSign", 0x81CA, 0x224C}),
                         [](const auto& row) { return std::string(row.param.name); });

// Every JIS X 0208 character iconv knows must come out as iconv writes it, but for the escape
// back, which is ESC ( J here and ESC ( B there. Row 13 (lead 0x87) and the IBM extensions
// (0xED, 0xEE, 0xFA-0xFC) are left out: iconv writes their duplicates' codes instead.
TEST(EncodeIso2022Jp, AgreesWithIconvOnEveryJisX0208Character) {
    constexpr std::array<std::pair<int, int>, 3> kJisLeadRanges{
        {{0x81, 0x84}, {0x88, 0x9F}, {0xE0, 0xEA}}};
    int compared = 0;
    for (const auto& [first, last] : kJisLeadRanges) {
        for (int lead = first; lead <= last; ++lead) {
            for (int second = 0x40; second <= 0xFC; ++second) {
                if (second == 0x7F) {
                    continue;
                }
                const std::string sjis{static_cast<char>(lead), static_cast<char>(second)};
                std::optional<std::string> expected = Iconv("CP932", "ISO-2022-JP", sjis);
                if (!expected) {
                    continue;
                }
                ASSERT_TRUE(expected->ends_with("\x1B(B")) << lead << ' ' << second;
                expected->replace(expected->size() - 3, 3, "\x1B(J");
                ASSERT_EQ(EncodeIso2022Jp(sjis), *expected) << std::hex << lead << ' ' << second;
                ++compared;
            }
        }
    }
    // JIS X 0208-1990 holds 6879 characters; the six vendor forms above are not among these.
    EXPECT_EQ(compared, 6879 - 6);
}

TEST(EncodeIso2022Jp, EncodesALongLineWhole) {
    // 1666 times Ａ then "A", then Ａ: every single-byte character costs an escape, the worst case.
    std::string line;
    std::string expected;
    for (int i = 0; i < 1666; ++i) {
        line +=
            "\x82\x60"
            "A";
        expected += "\x1B$B#A\x1B(JA";
    }
    line += "\x82\x60";
    expected += "\x1B$B#A\x1B(J";
    ASSERT_EQ(line.size(), 5000u);
    const std::string encoded = EncodeIso2022Jp(line);
    EXPECT_EQ(encoded.size(), 3 * line.size() + 2);
    EXPECT_EQ(encoded, expected);
}

TEST(EncodeLinesIso2022Jp, ReplacesTheDestinationLineForLine) {
    std::vector<std::string> destination{"old 1", "old 2", "old 3", "old 4"};
    EncodeLinesIso2022Jp({"PHSNO=1", "", "MSG=\x82\x60", "\t"}, destination);
    EXPECT_EQ(destination, (std::vector<std::string>{"PHSNO=1", "", "MSG=\x1B$B#A\x1B(J", ""}));
    EncodeLinesIso2022Jp({}, destination);
    EXPECT_TRUE(destination.empty());
}

// Whole lines through glibc's ISO-2022-JP decoder. Half-width katakana are 8-bit and left out
// (no ISO-2022-JP decoder takes them), as are \ and ~, which mean ¥ and ‾ after ESC ( J.
struct RoundTripCase {
    const char* name;
    std::string utf8;
    friend void PrintTo(const RoundTripCase& row, std::ostream* out) { *out << row.name; }
};

class IconvRoundTripTest : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(IconvRoundTripTest, DecodesToTheOriginal) {
    const std::string sjis = Utf8ToShiftJis(GetParam().utf8);
    ASSERT_EQ(sjis.find(kUnencodableByte), std::string::npos) << "not code page 932 text";
    const std::optional<std::string> decoded = Iconv("ISO-2022-JP", "UTF-8", EncodeIso2022Jp(sjis));
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(*decoded, GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    MixedLines, IconvRoundTripTest,
    ::testing::Values(RoundTripCase{"Empty", ""}, RoundTripCase{"Ascii", "PHSNO=09012345678"},
                      RoundTripCase{"Handset", "MSG=カ゛アＡＢＣ　（ハロー）？！"},
                      RoundTripCase{"DigitsThenHyphen", "PHSNO=０７０-1"},
                      RoundTripCase{"KanjiKanaAscii", "今日は 10時に 駅で。OK?"},
                      RoundTripCase{"SymbolsAndBoxes", "○●◯「」・…─│┌→★"},
                      RoundTripCase{"GreekCyrillic", "ΑΒΓαβγ АБВабв"},
                      RoundTripCase{"LastRow", "x堯槇遙瑤凜熙y"},
                      RoundTripCase{"RunsAndGaps", "a亜b唖c娃d"}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tarvelo
