// Conversion of typed Shift-JIS text into what a PHS handset's message service can show.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarvelo {

// The class of a Shift-JIS (code page 932) byte, decided from the byte alone. A zero byte ends
// a text rather than being a character, and gives Illegal.
enum class ByteClass { Single, Lead, Illegal };

// Inline, as the encoders call both once a byte or a character.
constexpr ByteClass ShiftJisByteClass(unsigned char byte) {
    if ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC)) {
        return ByteClass::Lead;
    }
    if ((byte >= 0x20 && byte <= 0x7E) || (byte >= 0xA1 && byte <= 0xDF)) {
        return ByteClass::Single;
    }
    return ByteClass::Illegal;
}

// Whether byte can follow a lead byte.
constexpr bool IsShiftJisSecondByte(unsigned char byte) {
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

// The JIS X 0208 code (row byte high) of a double-byte Shift-JIS code (lead byte high);
// 0 when it cannot be converted: no lead byte, the vendor and user-defined area from 0xF0,
// or a second byte outside 0x40-0x7E and 0x80-0xFC.
//
// Shift-JIS folds two JIS rows of 94 cells into each lead byte s1, and the second byte s2
// picks the row and the cell (lead bytes 0x81-0x9F hold rows 0x21-0x5E, 0xE0-0xEF rows
// 0x5F-0x7E; second bytes 0x40-0x9E, without 0x7F, are the odd row, 0x9F-0xFC the even one):
//   row  = 2 × (s1 − (s1 ≤ 0x9F ? 0x70 : 0xB0)) − (s2 < 0x9F ? 1 : 0)
//   cell = s2 < 0x9F ? s2 − 0x1F − (s2 ≥ 0x80 ? 1 : 0) : s2 − 0x7E
// Lead bytes from 0xF0 are the vendor and user-defined area, which JIS X 0208 lacks.
constexpr std::uint16_t ShiftJisToJis(std::uint16_t sjisCode) {
    const unsigned s1 = sjisCode >> 8;
    const unsigned s2 = sjisCode & 0xFF;
    if (ShiftJisByteClass(static_cast<unsigned char>(s1)) != ByteClass::Lead || s1 >= 0xF0 ||
        !IsShiftJisSecondByte(static_cast<unsigned char>(s2))) {
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

// Whether the ISO-2022-JP encoder carries every byte of line to the wire. It drops what it cannot
// write: control characters and the other bytes that are no character, a lead byte without its
// second byte, a double-byte character without a JIS X 0208 code. What is shown is what is sent
// only for a line that holds none of them, so nothing else is offered for sending.
bool EncodesWhole(std::string_view line);

struct HandsetText {
    std::string text;      // double-byte repertoire characters only, never a zero byte
    bool invalid = false;  // some input character had no equivalent and was dropped
};

// Stops at the first zero byte. Pure and reentrant; the text is at most twice as long as the
// input.
HandsetText ConvertToHandsetText(std::string_view message);

// Where the characters that ConvertToHandsetText drops stand in message, for a window that
// marks them: each as its index counted in characters, in which a double-byte character, a
// single byte and a line break (CR LF) each count one, so that the index is also that of the
// character the user typed. At most limit of them, from the first; stops at the first zero byte.
std::vector<std::size_t> UnsendableCharacters(std::string_view message, std::size_t limit);

}  // namespace tarvelo
