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

std::string_view MessageErrorText(MessageError error) {
    switch (error) {
        case MessageError::None:
            return "";
        case MessageError::InvalidCharacter:
            return "不正な文字がふくまれています";
        case MessageError::Empty:
            return "メッセージがありません";
        case MessageError::TooLong:
            return "６９文字を超えています";
    }
    return "";
}

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

std::vector<std::string> PreviewRows(std::string_view preview, int columns) {
    const int boxWidth = columns * kFullWidthPixels;
    std::vector<std::string> rows;
    for (const std::string& line : SplitLines(preview)) {
        std::string row;
        int rowWidth = 0;
        for (std::size_t i = 0; i < line.size();) {
            const bool fullWidth =
                ShiftJisByteClass(static_cast<unsigned char>(line[i])) == ByteClass::Lead &&
                i + 1 < line.size();
            const std::size_t length = fullWidth ? 2 : 1;
            const int width = fullWidth ? kFullWidthPixels : kHalfWidthPixels;
            if (rowWidth + width > boxWidth && !row.empty()) {
                rows.push_back(std::move(row));
                row.clear();
                rowWidth = 0;
            }
            row.append(line, i, length);
            rowWidth += width;
            i += length;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace tarvelo
