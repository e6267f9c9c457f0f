// Conversion of typed Shift-JIS text into what a PHS handset's message service can show.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvelo {

// The class of a Shift-JIS (code page 932) byte, decided from the byte alone. A zero byte ends
// a text rather than being a character, and gives Illegal.
enum class ByteClass { Single, Lead, Illegal };

ByteClass ShiftJisByteClass(unsigned char byte);

// The JIS X 0208 code (row byte high) of a double-byte Shift-JIS code (lead byte high);
// 0 when it cannot be converted: no lead byte, the vendor and user-defined area from 0xF0,
// or a second byte outside 0x40-0x7E and 0x80-0xFC.
std::uint16_t ShiftJisToJis(std::uint16_t sjisCode);

struct HandsetText {
    std::string text;      // double-byte repertoire characters only, never a zero byte
    bool invalid = false;  // some input character had no equivalent and was dropped
};

// Stops at the first zero byte. Pure and reentrant; the text is at most twice as long as the
// input.
HandsetText ConvertToHandsetText(std::string_view message);

}  // namespace tarvelo
