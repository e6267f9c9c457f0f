#include "compose/Composition.h"

#include <utility>

#include "base/TextLines.h"
#include "compose/HandsetText.h"

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

std::string_view PhsNoErrorText(const Composition& composition) {
    if (composition.phsNoMissing) {
        return kPhsNoMissingText;
    }
    if (composition.phsNoInvalid) {
        return MessageErrorText(MessageError::InvalidCharacter);
    }
    if (composition.phsNoTooLong) {
        return "PHS Noが長すぎます";
    }
    if (composition.resNoInvalid) {
        return "返答先番号が不正です";
    }
    return "";
}

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
    for (std::string& line : SplitLines("MSG=" + result.preview)) {
        // Unconverted text may hold what the encoder would drop between the preview and the
        // wire; the converted one never does.
        invalid = invalid || !EncodesWhole(line);
        result.mailImage.push_back(std::move(line));
    }

    result.messageError = FirstMessageError(invalid, result.preview);
    result.phsNoMissing = input.phsNo.empty();
    result.phsNoInvalid = !EncodesWhole(input.phsNo);
    result.phsNoTooLong = input.phsNo.size() > kMaxPhsNoBytes;
    result.resNoInvalid = !EncodesWhole(input.resNo);
    result.sendEnabled = result.messageError == MessageError::None && !result.phsNoMissing &&
                         !result.phsNoInvalid && !result.phsNoTooLong && !result.resNoInvalid;
    return result;
}

std::size_t PreviewCharLength(std::string_view preview, std::size_t i) {
    const bool fullWidth =
        ShiftJisByteClass(static_cast<unsigned char>(preview[i])) == ByteClass::Lead &&
        i + 1 < preview.size() && preview[i + 1] != '\r' && preview[i + 1] != '\n';
    return fullWidth ? 2 : 1;
}

std::vector<PreviewSpan> PreviewSpans(std::string_view preview, int columns) {
    const int boxWidth = columns * kFullWidthPixels;
    std::vector<PreviewSpan> rows;
    PreviewSpan row;
    int rowWidth = 0;
    std::size_t i = 0;
    while (i < preview.size()) {
        if (preview[i] == '\r' || preview[i] == '\n') {
            row.end = i;
            rows.push_back(row);
            i += preview.substr(i, 2) == "\r\n" ? 2 : 1;
            row = {i, i};
            rowWidth = 0;
            continue;
        }
        const std::size_t length = PreviewCharLength(preview, i);
        const int width = length == 2 ? kFullWidthPixels : kHalfWidthPixels;
        if (rowWidth + width > boxWidth && rowWidth > 0) {
            row.end = i;
            rows.push_back(row);
            row = {i, i};
            rowWidth = 0;
        }
        rowWidth += width;
        i += length;
    }
    row.end = preview.size();
    rows.push_back(row);
    return rows;
}

std::vector<std::string> PreviewRows(std::string_view preview, int columns) {
    std::vector<std::string> rows;
    for (const PreviewSpan& row : PreviewSpans(preview, columns)) {
        rows.emplace_back(preview.substr(row.begin, row.end - row.begin));
    }
    return rows;
}

}  // namespace tarvelo
