#include "settings/LineList.h"

#include "base/Error.h"
#include "base/TextLines.h"

namespace tarvelo {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

}  // namespace

LineList ParseLines(std::string_view bytes) {
    if (bytes.empty()) {
        return {};
    }
    LineList lines = SplitLines(bytes);
    if (EndsInLineEnd(bytes)) {
        lines.pop_back();
    }
    return lines;
}

std::string FormatLines(const LineList& lines) {
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += line;
        bytes += kLineEnd;
    }
    return bytes;
}

LineList ReadLineList(std::string_view fileName) {
    return ParseLines(ReadListFileBytes(fileName));
}

std::string ReadListFileBytes(std::string_view fileName) {
    std::optional<std::string> bytes = ReadRegularFile(fileName, kMaxListFileBytes);
    if (!bytes) {
        throw FileOpenError(fileName);
    }
    return std::move(*bytes);
}

void WriteLineList(std::string_view fileName, const LineList& lines) {
    if (!ReplaceRegularFile(fileName, FormatLines(lines))) {
        throw FileCreateError(fileName);
    }
}

AppendResult AppendLineList(std::string_view fileName, const LineList& lines) {
    return AppendToRegularFile(fileName, FormatLines(lines));
}

const std::string& LineAt(const LineList& lines, std::size_t index) {
    if (index >= lines.size()) {
        throw ListIndexError();
    }
    return lines.at(index);
}

}  // namespace tarvelo
