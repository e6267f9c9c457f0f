#include "platform/ShiftJis.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <stdexcept>
#include <utility>

#include "platform/Iconv.h"

namespace tarvelo {

namespace {

// Second Unicode forms of code page 932 characters that glibc's table does not take.
constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kAlternateForms{{
    {"\u2016", "\x81\x61"},  // DOUBLE VERTICAL LINE, the JIS form of PARALLEL TO
    {"\u00A2", "\x81\x91"},  // CENT SIGN, the JIS form of FULLWIDTH CENT SIGN
    {"\u00A3", "\x81\x92"},  // POUND SIGN, the JIS form of FULLWIDTH POUND SIGN
    {"\u00AC", "\x81\xCA"},  // NOT SIGN, the JIS form of FULLWIDTH NOT SIGN
}};

// Code page 932 and UTF-8 share the 7-bit bytes, which glibc's CP932 maps one to one (0x5C and
// 0x7E included). Text of those alone needs no converter, whose module would otherwise be
// loaded at start-up for the ASCII of the settings.
bool IsSevenBit(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char byte) { return static_cast<unsigned char>(byte) < 0x80; });
}

}  // namespace

std::string Utf8ToShiftJis(std::string_view utf8) {
    if (IsSevenBit(utf8)) {
        return std::string(utf8);
    }
    Converter converter("CP932", "UTF-8");
    std::string out;
    out.reserve(utf8.size());
    while (!converter.Convert(utf8, out)) {
        bool replaced = false;
        for (const auto& [unicode, sjis] : kAlternateForms) {
            if (utf8.starts_with(unicode)) {
                out.append(sjis);
                utf8.remove_prefix(unicode.size());
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            out.push_back(kUnencodableByte);
            const std::size_t length = Utf8SequenceLength(static_cast<unsigned char>(utf8[0]));
            utf8.remove_prefix(std::min(length, utf8.size()));
        }
    }
    return out;
}

std::string Utf8TextToShiftJis(std::string_view utf8) {
    std::string text;
    text.reserve(utf8.size() + utf8.size() / 8);
    // Whole runs between the bytes that may start a line break are copied at once: a pasted
    // text of a megabyte is mostly such runs.
    while (!utf8.empty()) {
        const auto runEnd = std::find_if(utf8.begin(), utf8.end(), [](char byte) {
            return byte == '\n' || byte == '\r' || byte == '\xE2';
        });
        const auto run = static_cast<std::size_t>(runEnd - utf8.begin());
        text.append(utf8.substr(0, run));
        utf8.remove_prefix(run);
        if (utf8.empty()) {
            break;
        }
        std::size_t lineBreak = 0;
        if (utf8.starts_with("\r\n")) {
            lineBreak = 2;
        } else if (utf8[0] == '\n') {
            lineBreak = 1;
        } else if (utf8.starts_with("\u2028") || utf8.starts_with("\u2029")) {
            lineBreak = 3;
        }
        if (lineBreak > 0) {
            text.append("\r\n");
            utf8.remove_prefix(lineBreak);
        } else {
            text.push_back(utf8[0]);
            utf8.remove_prefix(1);
        }
    }
    return Utf8ToShiftJis(text);
}

std::string ShiftJisToUtf8(std::string_view sjis) {
    if (IsSevenBit(sjis)) {
        return std::string(sjis);
    }
    Converter converter("UTF-8", "CP932");
    std::string out;
    out.reserve(sjis.size() * 3 / 2);
    while (!converter.Convert(sjis, out)) {
        out.append("\uFFFD");
        sjis.remove_prefix(1);
    }
    return out;
}

}  // namespace tarvelo
