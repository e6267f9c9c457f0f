#include "compose/HandsetText.h"

#include "compose/HandsetTables.h"

namespace tarvelo {

namespace {

constexpr bool IsLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

constexpr bool IsSecondByte(unsigned char byte) {
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

// Writes code as its two bytes, lead byte first, and returns the position after them.
char* Put(char* out, std::uint16_t code) {
    out[0] = static_cast<char>(code >> 8);
    out[1] = static_cast<char>(code & 0xFF);
    return out + 2;
}

// The repertoire characters that the double-byte character code stands for; first is 0 when
// it has none. Only lead bytes 0x81-0x83 (symbols, digits, letters and kana) hold anything
// the handset can show, so every kanji is refused by the first test.
handset::KanaEntry DoubleByteEquivalent(std::uint16_t code) {
    if (code > 0x8396 || code < 0x8140) {
        return {0, 0};
    }
    if ((code >= 0x824F && code <= 0x8258) || (code >= 0x8260 && code <= 0x8279)) {
        return {code, 0};
    }
    if (code >= 0x8281 && code <= 0x829A) {
        // ａ-ｚ lie 0x21 above Ａ-Ｚ.
        return {static_cast<std::uint16_t>(code - 0x21), 0};
    }
    const std::uint16_t jis = ShiftJisToJis(code);
    if (code >= 0x829F) {
        // Hiragana (JIS row 0x24) and katakana (row 0x25) share the cell layout of KanaMap;
        // the gaps of the range (0x82F2-0x833F, 0x837F) fall outside both rows.
        if ((jis >= 0x2421 && jis <= 0x2473) || (jis >= 0x2521 && jis <= 0x2576)) {
            return handset::KanaMap[(jis & 0xFF) - 0x21];
        }
        return {0, 0};
    }
    if (jis >= 0x2120 && jis <= 0x217E) {
        return {handset::SymbolMapRow1[jis - 0x2120], 0};
    }
    if (jis >= 0x2220 && jis <= 0x227E) {
        return {handset::SymbolMapRow2[jis - 0x2220], 0};
    }
    return {0, 0};
}

}  // namespace

ByteClass ShiftJisByteClass(unsigned char byte) {
    if (IsLeadByte(byte)) {
        return ByteClass::Lead;
    }
    if ((byte >= 0x20 && byte <= 0x7E) || (byte >= 0xA1 && byte <= 0xDF)) {
        return ByteClass::Single;
    }
    return ByteClass::Illegal;
}

// Shift-JIS folds two JIS rows of 94 cells into each lead byte s1, and the second byte s2
// picks the row and the cell (lead bytes 0x81-0x9F hold rows 0x21-0x5E, 0xE0-0xEF rows
// 0x5F-0x7E; second bytes 0x40-0x9E, without 0x7F, are the odd row, 0x9F-0xFC the even one):
//   row  = 2 × (s1 − (s1 ≤ 0x9F ? 0x70 : 0xB0)) − (s2 < 0x9F ? 1 : 0)
//   cell = s2 < 0x9F ? s2 − 0x1F − (s2 ≥ 0x80 ? 1 : 0) : s2 − 0x7E
// Lead bytes from 0xF0 are the vendor and user-defined area, which JIS X 0208 lacks.
std::uint16_t ShiftJisToJis(std::uint16_t sjisCode) {
    const unsigned s1 = sjisCode >> 8;
    const unsigned s2 = sjisCode & 0xFF;
    if (!IsLeadByte(static_cast<unsigned char>(s1)) || s1 >= 0xF0 ||
        !IsSecondByte(static_cast<unsigned char>(s2))) {
        return 0;
    }
    unsigned row = 2 * (s1 <= 0x9F ? s1 - 0x70 : s1 - 0xB0);
    unsigned cell = 0;
    if (s2 < 0x9F) {
        row -= 1;
        cell = s2 - 0x1F - (s2 >= 0x80 ? 1 : 0);
    } else {
        cell = s2 - 0x7E;
    }
    return static_cast<std::uint16_t>(row << 8 | cell);
}

HandsetText ConvertToHandsetText(std::string_view message) {
    // The message box hands over a zero-terminated text.
    message = message.substr(0, message.find('\0'));
    HandsetText result;
    // No input byte gives more than two output bytes (a one-byte character one code, a
    // two-byte character at most two), so the text is written in place without growing.
    result.text.resize(2 * message.size());
    char* const begin = result.text.data();
    char* out = begin;
    const auto* in = reinterpret_cast<const unsigned char*>(message.data());
    const unsigned char* const end = in + message.size();
    bool invalid = false;
    while (in != end) {
        const unsigned char byte = *in;
        if (IsLeadByte(byte)) {
            if (end - in < 2) {
                // A lead byte without its second byte is dropped, and the end is not passed.
                invalid = true;
                break;
            }
            const auto [first, second] =
                DoubleByteEquivalent(static_cast<std::uint16_t>(byte << 8 | in[1]));
            in += 2;
            if (first == 0) {
                invalid = true;
                continue;
            }
            out = Put(out, first);
            if (second != 0) {
                out = Put(out, second);
            }
        } else {
            const std::uint16_t code = handset::HalfWidthMap[byte];
            ++in;
            if (code == 0) {
                invalid = true;
                continue;
            }
            out = Put(out, code);
        }
    }
    result.text.resize(static_cast<std::size_t>(out - begin));
    result.invalid = invalid;
    return result;
}

}  // namespace tarvelo
