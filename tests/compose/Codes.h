// Characters of the answer keys are written as text and turned into Shift-JIS codes by
// iconv, so that no key repeats a code from the tables under test.
#pragma once

#include <gtest/gtest.h>

#include <iconv.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ShiftJis.h"

namespace tarvelo::testing {

inline constexpr std::string_view kFullWidthDigits = "０１２３４５６７８９";
inline constexpr std::string_view kFullWidthLetters =
    "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ";
inline constexpr std::string_view kPlainKatakana =
    "アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワヲ"
    "ン";

// The double-byte Shift-JIS codes of the characters of utf8.
inline std::vector<std::uint16_t> Codes(std::string_view utf8) {
    const std::string sjis = Utf8ToShiftJis(utf8);
    std::vector<std::uint16_t> codes;
    for (std::size_t i = 0; i < sjis.size(); i += 2) {
        const auto lead = static_cast<unsigned char>(sjis[i]);
        if (i + 1 == sjis.size() || lead < 0x81 || (lead > 0x9F && lead < 0xE0)) {
            ADD_FAILURE() << "not a double-byte character in " << utf8;
            return codes;
        }
        codes.push_back(
            static_cast<std::uint16_t>(lead << 8 | static_cast<unsigned char>(sjis[i + 1])));
    }
    return codes;
}

// The bytes of codes, lead byte first.
inline std::string Sjis(const std::vector<std::uint16_t>& codes) {
    std::string bytes;
    for (std::uint16_t code : codes) {
        bytes.push_back(static_cast<char>(code >> 8));
        bytes.push_back(static_cast<char>(code & 0xFF));
    }
    return bytes;
}

inline std::uint16_t Code(std::string_view utf8) {
    const std::vector<std::uint16_t> codes = Codes(utf8);
    EXPECT_EQ(codes.size(), 1u) << utf8;
    return codes.empty() ? 0 : codes[0];
}

// The JIS X 0208 code of a Shift-JIS double-byte code as glibc's converters see it (SHIFT_JIS to
// EUC-JP, less 0x8080); 0 when they have no JIS X 0208 character for it.
inline std::uint16_t IconvJis(std::uint16_t sjisCode) {
    static const iconv_t converter = iconv_open("EUC-JP", "SHIFT_JIS");
    char in[2] = {static_cast<char>(sjisCode >> 8), static_cast<char>(sjisCode & 0xFF)};
    char out[8];
    char* inPos = in;
    char* outPos = out;
    std::size_t inLeft = sizeof in;
    std::size_t outLeft = sizeof out;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    if (iconv(converter, &inPos, &inLeft, &outPos, &outLeft) == static_cast<std::size_t>(-1) ||
        outPos - out != 2) {
        return 0;
    }
    const auto row = static_cast<unsigned char>(out[0]);
    const auto cell = static_cast<unsigned char>(out[1]);
    if (row < 0xA1 || row > 0xFE || cell < 0xA1 || cell > 0xFE) {
        return 0;
    }
    return static_cast<std::uint16_t>((row << 8 | cell) - 0x8080);
}

}  // namespace tarvelo::testing
