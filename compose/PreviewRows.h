// The handset preview as the handset lays it out: a grid of cells, a full-width (double-byte)
// character taking two, a half-width one taking one, so that a row holds as many full-width
// characters as the handset has columns.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace tarvelo {

// One row: the bytes [begin, end) of the text, without the line break that may follow.
struct PreviewRow {
    std::size_t begin = 0;
    std::size_t end = 0;
};

// Bytes of the character at i, which is also the cells it takes: 2 for a lead byte followed by
// a valid second byte, else 1.
std::size_t PreviewCharLength(std::string_view sjis, std::size_t i);

// Rows of Shift-JIS text at columns full-width cells a row (at least 1). A character that would
// overflow its row starts the next; a line break (CR LF, lone CR or lone LF) ends its row, so
// a text ending in one ends with an empty row. An empty text is one empty row. A lead byte
// without a valid second byte takes one cell, as it is shown as a replacement character.
std::vector<PreviewRow> PreviewRows(std::string_view sjis, int columns);

}  // namespace tarvelo
