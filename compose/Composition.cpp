#include "compose/Composition.h"

#include <utility>

#include "compose/HandsetText.h"

namespace tarvelo {

namespace {

// Every break separates two lines, whether CR LF, a lone CR or a lone LF.
void AppendLines(std::string_view text, std::vector<std::string>& lines) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') {
            continue;
        }
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
        }
        start = i + 1;
    }
    lines.emplace_back(text.substr(start));
}

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
    } else {
        HandsetText converted = ConvertToHandsetText(input.message);
        result.preview = std::move(converted.text);
        invalid = converted.invalid;
    }

    result.mailImage.push_back("PHSNO=" + std::string(input.phsNo));
    if (!input.resNo.empty()) {
        result.mailImage.push_back("RESNO=" + std::string(input.resNo));
    }
    AppendLines("MSG=" + result.preview, result.mailImage);

    result.messageError = FirstMessageError(invalid, result.preview);
    result.phsNoMissing = input.phsNo.empty();
    result.sendEnabled = result.messageError == MessageError::None && !result.phsNoMissing;
    return result;
}

}  // namespace tarvelo
