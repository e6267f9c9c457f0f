#include "settings/StoredField.h"

#include <utility>

#include "platform/ShiftJis.h"
#include "platform/Utf8.h"

namespace tarvelo {

namespace {

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The text of UTF-8 bytes, each byte that starts no well-formed character as U+FFFD.
std::string Utf8Text(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    while (!bytes.empty()) {
        const auto lead = static_cast<unsigned char>(bytes[0]);
        std::size_t length = Utf8SequenceLength(lead);
        bool whole = length <= bytes.size() && (length > 1 || lead < 0x80);
        for (std::size_t i = 1; whole && i < length; ++i) {
            whole = IsContinuation(bytes[i]);
        }
        // Overlong forms and surrogates are none of UTF-8's either.
        if (whole && length == 3) {
            const auto second = static_cast<unsigned char>(bytes[1]);
            whole = !(lead == 0xE0 && second < 0xA0) && !(lead == 0xED && second >= 0xA0);
        } else if (whole && length == 4) {
            const auto second = static_cast<unsigned char>(bytes[1]);
            whole = !(lead == 0xF0 && second < 0x90) && !(lead == 0xF4 && second >= 0x90);
        }
        if (!whole) {
            text.append("\uFFFD");
            length = 1;
        } else {
            text.append(bytes.substr(0, length));
        }
        bytes.remove_prefix(length);
    }
    return text;
}

}  // namespace

std::string StoredField::Load(std::string bytes) {
    stored_ = std::move(bytes);
    shown_ = encoding_ == FieldEncoding::ShiftJis ? ShiftJisToUtf8(stored_) : Utf8Text(stored_);
    return shown_;
}

void StoredField::Shown(std::string_view shown) {
    shown_ = std::string(shown);
}

std::string StoredField::Bytes(std::string_view now) const {
    if (!Edited(now)) {
        return stored_;
    }
    return encoding_ == FieldEncoding::ShiftJis ? Utf8ToShiftJis(now) : std::string(now);
}

}  // namespace tarvelo
