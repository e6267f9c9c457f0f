// Characters of the answer keys are written as text and turned into Shift-JIS codes by
// iconv, so that no key repeats a code from the tables under test. glibc's iconv is asked on
// the build machine (iconv_jis_key.py), so that the Windows build checks against it too.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "IconvJisKey.h"
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
    const auto* found = std::lower_bound(std::begin(kIconvJisKey), std::end(kIconvJisKey),
                                         std::pair<std::uint16_t, std::uint16_t>(sjisCode, 0));
    return found != std::end(kIconvJisKey) && found->first == sjisCode ? found->second : 0;
}

}  // namespace tarvelo::testing
