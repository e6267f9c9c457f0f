// The platform's own converter between UTF-8 and code page 932, one side per platform
// (CodePage932Posix.cpp through iconv, CodePage932Win32.cpp through the code page API). The
// characters on which the two disagree never reach it: ShiftJis.cpp decides those itself.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/Utf8.h"

namespace tarvelo {

// Whether byte starts a double-byte character of code page 932.
bool IsShiftJisLeadByte(unsigned char byte);

class CodePage932 {
public:
    enum class Direction { FromUtf8, ToUtf8 };

    explicit CodePage932(Direction direction);
    CodePage932(const CodePage932&) = delete;
    CodePage932& operator=(const CodePage932&) = delete;
    ~CodePage932();

    // Converts as much of in as it can, appending to out; returns false at the first character
    // it cannot convert (one with no counterpart, broken or cut short), with in advanced up to
    // that character. No character is ever replaced by a look-alike.
    bool Convert(std::string_view& in, std::string& out);

private:
    Direction direction_;
    void* handle_ = nullptr;
};

}  // namespace tarvelo
