#include "base/TextLines.h"

#include <algorithm>

namespace tarvelo {

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    while (true) {
        // find_first_of tests each byte against the set with a call of its own; a line of a
        // pasted text may be a megabyte long.
        const auto found = std::find_if(text.begin(), text.end(),
                                        [](char byte) { return byte == '\r' || byte == '\n'; });
        const auto end = static_cast<std::size_t>(found - text.begin());
        lines.emplace_back(text.substr(0, end));
        if (end == text.size()) {
            return lines;
        }
        const bool crlf = text.substr(end, 2) == "\r\n";
        text.remove_prefix(end + (crlf ? 2 : 1));
    }
}

}  // namespace tarvelo
