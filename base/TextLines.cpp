#include "base/TextLines.h"

namespace tarvelo {

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    while (true) {
        const std::size_t end = text.find_first_of("\r\n");
        lines.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos) {
            return lines;
        }
        const bool crlf = text.substr(end, 2) == "\r\n";
        text.remove_prefix(end + (crlf ? 2 : 1));
    }
}

}  // namespace tarvelo
