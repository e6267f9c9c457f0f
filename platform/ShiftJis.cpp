#include "platform/ShiftJis.h"

#include "platform/CodePage932.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tarvelo {

namespace {

// Where glibc's CP932 and Windows' code page 932 disagree, this table decides for both, so that
// both builds turn a text into the same bytes or refuse it alike. An empty form is refused.
struct AgreedForm {
    std::string_view unicode;
    std::string_view sjis;
};
constexpr std::array<AgreedForm, 13> kAgreedForms{{
    // The JIS forms of characters that code page 932 holds under another code point: glibc
    // takes these, Windows without best fit does not. Input methods outside Windows type them.
    {"\u2016", "\x81\x61"},  // DOUBLE VERTICAL LINE for PARALLEL TO
    {"\u2212", "\x81\x7C"},  // MINUS SIGN for FULLWIDTH HYPHEN-MINUS
    {"\u301C", "\x81\x60"},  // WAVE DASH for FULLWIDTH TILDE
    {"\u00A2", "\x81\x91"},  // CENT SIGN for FULLWIDTH CENT SIGN
    {"\u00A3", "\x81\x92"},  // POUND SIGN for FULLWIDTH POUND SIGN
    {"\u00AC", "\x81\xCA"},  // NOT SIGN for FULLWIDTH NOT SIGN
    // JIS X 0201 Roman, which the mail's ESC ( J selects, has these at 0x5C and 0x7E.
    {"\u00A5", "\x5C"},  // YEN SIGN
    {"\u203E", "\x7E"},  // OVERLINE
    // Windows maps the single bytes 0x80, 0xA0 and 0xFD to 0xFF to these; they are no
    // characters of Shift-JIS, and glibc refuses them.
    {"\u0080", ""},
    {"\uF8F0", ""},
    {"\uF8F1", ""},
    {"\uF8F2", ""},
    {"\uF8F3", ""},
}};

// The single bytes above, which ShiftJisToUtf8 takes for invalid on both platforms.
bool IsUnassignedSingleByte(unsigned char byte) {
    return byte == 0x80 || byte == 0xA0 || byte >= 0xFD;
}

const AgreedForm* AgreedFormAtFront(std::string_view utf8) {
    for (const AgreedForm& form : kAgreedForms) {
        if (utf8.starts_with(form.unicode)) {
            return &form;
        }
    }
    return nullptr;
}

// Where the next character of kAgreedForms starts; utf8.size() when none follows. Their first
// two bytes sift the text before a whole form is compared: almost every character of a Japanese
// text starts with 0xE3, as one of the forms does.
std::size_t NextAgreedForm(std::string_view utf8) {
    constexpr auto kLeads = [] {
        std::array<bool, 256> leads{};
        for (const AgreedForm& form : kAgreedForms) {
            leads[static_cast<unsigned char>(form.unicode[0])] = true;
        }
        return leads;
    }();
    for (std::size_t at = 0; at + 1 < utf8.size(); ++at) {
        const char lead = utf8[at];
        if (!kLeads[static_cast<unsigned char>(lead)]) {
            continue;
        }
        const char next = utf8[at + 1];
        const bool candidate =
            std::any_of(kAgreedForms.begin(), kAgreedForms.end(), [lead, next](const auto& form) {
                return form.unicode[0] == lead && form.unicode[1] == next;
            });
        if (candidate && AgreedFormAtFront(utf8.substr(at)) != nullptr) {
            return at;
        }
    }
    return utf8.size();
}

// Where the next unassigned single byte stands in the place of a character; sjis.size() when
// none does.
std::size_t NextUnassignedByte(std::string_view sjis) {
    std::size_t at = 0;
    while (at < sjis.size()) {
        const auto byte = static_cast<unsigned char>(sjis[at]);
        if (IsUnassignedSingleByte(byte)) {
            return at;
        }
        at += IsShiftJisLeadByte(byte) ? 2 : 1;
    }
    return sjis.size();
}

// Code page 932 and UTF-8 share the 7-bit bytes, which glibc's CP932 maps one to one (0x5C and
// 0x7E included). Text of those alone needs no converter, whose module would otherwise be
// loaded at start-up for the ASCII of the settings.
bool IsSevenBit(std::string_view text) {
    // Eight bytes at a time: a pasted page is looked at whole at every change.
    constexpr std::uint64_t kHighBits = 0x8080808080808080U;
    std::size_t at = 0;
    for (; at + sizeof(std::uint64_t) <= text.size(); at += sizeof(std::uint64_t)) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + at, sizeof word);
        if ((word & kHighBits) != 0) {
            return false;
        }
    }
    return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(at), text.end(),
                       [](char byte) { return static_cast<unsigned char>(byte) < 0x80; });
}

}  // namespace

bool IsShiftJisLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::string Utf8ToShiftJis(std::string_view utf8) {
    if (IsSevenBit(utf8)) {
        return std::string(utf8);
    }
    CodePage932 converter(CodePage932::Direction::FromUtf8);
    std::string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        const std::size_t agreed = NextAgreedForm(utf8);
        std::string_view run = utf8.substr(0, agreed);
        while (!converter.Convert(run, out)) {
            out.push_back(kUnencodableByte);
            const std::size_t length = Utf8SequenceLength(static_cast<unsigned char>(run[0]));
            run.remove_prefix(std::min(length, run.size()));
        }
        utf8.remove_prefix(agreed);
        if (const AgreedForm* form = AgreedFormAtFront(utf8)) {
            out.append(form->sjis.empty() ? std::string_view(&kUnencodableByte, 1) : form->sjis);
            utf8.remove_prefix(form->unicode.size());
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
    CodePage932 converter(CodePage932::Direction::ToUtf8);
    std::string out;
    out.reserve(sjis.size() * 3 / 2);
    while (!sjis.empty()) {
        const std::size_t unassigned = NextUnassignedByte(sjis);
        std::string_view run = sjis.substr(0, unassigned);
        if (unassigned > 0 && converter.Convert(run, out)) {
            sjis.remove_prefix(unassigned);
            continue;
        }
        // After a fault the characters are counted again from the next byte on.
        sjis.remove_prefix(unassigned - run.size());
        out.append("\uFFFD");
        sjis.remove_prefix(1);
    }
    return out;
}

std::string FirstUnencodableCharacter(std::string_view utf8) {
    while (!utf8.empty()) {
        const std::size_t length =
            std::min(Utf8SequenceLength(static_cast<unsigned char>(utf8[0])), utf8.size());
        const std::string_view character = utf8.substr(0, length);
        if (Utf8ToShiftJis(character).find(kUnencodableByte) != std::string::npos) {
            return std::string(character);
        }
        utf8.remove_prefix(length);
    }
    return {};
}

}  // namespace tarvelo
