#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/CodePage932.h"

namespace tarvelo {

namespace {

constexpr UINT kShiftJis = 932;

int Length(std::string_view text) {
    return static_cast<int>(text.size());
}

// Text of one code page to UTF-16; false when any byte is broken or has no counterpart.
bool Widen(UINT codePage, std::string_view text, std::wstring& wide) {
    const int length =
        MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), Length(text), nullptr, 0);
    if (length == 0) {
        return false;
    }
    wide.resize(static_cast<std::size_t>(length));
    return MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), Length(text),
                               wide.data(), length) == length;
}

// UTF-16 to one code page. Without WC_NO_BEST_FIT_CHARS, Windows writes a look-alike for a
// character the code page lacks (e for é), and says nothing; with it, the default character is
// used instead, and usedDefault tells.
bool Narrow(UINT codePage, const std::wstring& wide, std::string& out) {
    const bool toShiftJis = codePage == kShiftJis;
    const DWORD flags = toShiftJis ? WC_NO_BEST_FIT_CHARS : WC_ERR_INVALID_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultPointer = toShiftJis ? &usedDefault : nullptr;
    const int wideLength = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(codePage, flags, wide.data(), wideLength, nullptr, 0,
                                           nullptr, usedDefaultPointer);
    if (length == 0 || usedDefault) {
        return false;
    }
    const std::size_t start = out.size();
    out.resize(start + static_cast<std::size_t>(length));
    return WideCharToMultiByte(codePage, flags, wide.data(), wideLength, out.data() + start, length,
                               nullptr, usedDefaultPointer) == length &&
           !usedDefault;
}

bool ConvertWhole(CodePage932::Direction direction, std::string_view in, std::string& out) {
    const bool fromUtf8 = direction == CodePage932::Direction::FromUtf8;
    std::wstring wide;
    const std::size_t start = out.size();
    if (Widen(fromUtf8 ? CP_UTF8 : kShiftJis, in, wide) &&
        Narrow(fromUtf8 ? kShiftJis : CP_UTF8, wide, out)) {
        return true;
    }
    out.resize(start);
    return false;
}

}  // namespace

CodePage932::CodePage932(Direction direction) : direction_(direction) {}

CodePage932::~CodePage932() = default;

bool CodePage932::Convert(std::string_view& in, std::string& out) {
    // Text that converts whole is the common case; only a text with a fault is taken apart to
    // find where it lies.
    if (in.empty() || ConvertWhole(direction_, in, out)) {
        in = {};
        return true;
    }
    while (!in.empty()) {
        const auto lead = static_cast<unsigned char>(in[0]);
        const std::size_t length = direction_ == Direction::FromUtf8 ? Utf8SequenceLength(lead)
                                   : IsShiftJisLeadByte(lead)        ? 2
                                                                     : 1;
        if (!ConvertWhole(direction_, in.substr(0, std::min(length, in.size())), out)) {
            return false;
        }
        in.remove_prefix(std::min(length, in.size()));
    }
    return true;
}

}  // namespace tarvelo
