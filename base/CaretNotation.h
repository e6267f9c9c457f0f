// Bytes as a message may show them: a control byte (below 0x20, and DEL) in caret notation, "^@"
// for NUL and "^[" for ESC, so that a NUL does not end the message there, a line end does not
// break it, and an escape sequence cannot steer a terminal. Every other byte stays as it is:
// what reaches here is UTF-8 converted from code page 932, which has no C1 controls, or the
// program's own.
#pragma once

#include <string>
#include <string_view>

namespace tarvelo {

inline std::string CaretNotation(std::string_view bytes) {
    std::string shown;
    shown.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            shown.push_back('^');
            shown.push_back(static_cast<char>(byte ^ 0x40));
        } else {
            shown.push_back(c);
        }
    }
    return shown;
}

}  // namespace tarvelo
