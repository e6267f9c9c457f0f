// The bridge between the core's Shift-JIS (code page 932) bytes and UTF-8, through the platform's
// converter (platform/CodePage932.h).
#pragma once

#include <string>
#include <string_view>

namespace tarvelo {

// Written for a character that code page 932 cannot hold. It is an illegal byte there, so the
// handset conversion drops it as invalid and the mail encoder drops it: it never turns into
// another character.
inline constexpr char kUnencodableByte = '\xFF';

// Both Unicode forms that input methods produce for one code page 932 character are accepted
// (U+301C and U+FF5E for 0x8160, U+2212 and U+FF0D for 0x817C, and the like).
std::string Utf8ToShiftJis(std::string_view utf8);

// Text typed over several lines, from a box of the windows or a terminal: each line break (LF,
// CR LF, U+2028 LINE SEPARATOR, U+2029 PARAGRAPH SEPARATOR) becomes CR LF, so that it counts two
// bytes against the message's limit wherever the message was typed. A lone CR is left as it is.
std::string Utf8TextToShiftJis(std::string_view utf8);

// The first character of utf8 that code page 932 cannot hold (UTF-8); empty when there is
// none. A window names it when it refuses a typed setting.
std::string FirstUnencodableCharacter(std::string_view utf8);

// Bytes that are not valid Shift-JIS become U+FFFD each, and the rest of the text is kept.
std::string ShiftJisToUtf8(std::string_view sjis);

}  // namespace tarvelo
