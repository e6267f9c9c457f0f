#include "compose/Composition.h"

#include <utility>

#include "base/TextLines.h"
#include "compose/HandsetText.h"
#include "platform/ShiftJis.h"

namespace tarvelo {

namespace {

MessageError FirstMessageError(bool invalid, std::string_view preview) {
    if (invalid) {
        return MessageError::InvalidCharacter;
    }
    if (preview.empty()) {
        return MessageError::Empty;
    }
    if (preview.size() > kMaxPreviewBytes) {
        return MessageError::TooLong;
    }
    return MessageError::None;
}

}  // namespace

Composition Compose(const CompositionInput& input) {
    Composition result;
    bool invalid = false;
    if (input.testMode) {
        result.preview.assign(input.message);
        // Unconverted, but still sent as Shift-JIS: a character that it cannot hold would
        // silently vanish from the mail.
        invalid = input.message.find(kUnencodableByte) != std::string_view::npos;
    } else {
        HandsetText converted = ConvertToHandsetText(input.message);
        result.preview = std::move(converted.text);
        invalid = converted.invalid;
    }

    result.mailImage.push_back("PHSNO=" + std::string(input.phsNo));
    if (!input.resNo.empty()) {
        result.mailImage.push_back("RESNO=" + std::string(input.resNo));
    }
    for (std::string& line : SplitLines("MSG=" + result.preview)) {
        result.mailImage.push_back(std::move(line));
    }

    result.messageError = FirstMessageError(invalid, result.preview);
    result.phsNoMissing = input.phsNo.empty();
    result.sendEnabled = result.messageError == MessageError::None && !result.phsNoMissing;
    return result;
}

}  // namespace tarvelo
