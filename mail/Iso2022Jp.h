// Shift-JIS body lines to the ISO-2022-JP form that the gateway reads (7-bit but for any
// half-width katakana, which pass through as they are).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvelo {

// Each line starts in the single-byte state and leaves double-byte mode with ESC ( J (JIS X 0201
// Roman), never ESC ( B. Single-byte characters, half-width katakana among them, pass unchanged;
// bytes that are no character, a lead byte at the end of the line and double-byte characters
// without a JIS X 0208 code (vendor and user-defined area) are dropped (EncodesWhole tells whether
// a line holds any). A line of any length is
// encoded whole: its encoded form is at most 3 n + 3 bytes.
std::string EncodeIso2022Jp(std::string_view sjisLine);

// Empties destination, then appends the encoded form of each source line, one for one.
void EncodeLinesIso2022Jp(const std::vector<std::string>& source,
                          std::vector<std::string>& destination);

}  // namespace tarvelo
