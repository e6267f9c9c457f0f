// Text cut into lines, the one rule that the log, the mail image, the boxes' text and the
// settings files share.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvelo {

// The lines of text, each without its line end. A line ends at CR LF, at a lone CR or at a lone
// LF, and every line end separates two lines: the text after the last one is a line too, empty
// when the text ends in a line end, so "" gives one empty line and "a\r\n" gives "a" and "".
// A reader whose last line needs no end (a file) drops that empty line itself.
std::vector<std::string> SplitLines(std::string_view text);

// Whether text ends in a line end, so that SplitLines' last line is the empty rest after it.
inline bool EndsInLineEnd(std::string_view text) {
    return text.ends_with('\r') || text.ends_with('\n');
}

}  // namespace tarvelo
