#include "compose/PreviewRows.h"

#include "compose/HandsetText.h"

namespace tarvelo {

std::size_t PreviewCharLength(std::string_view sjis, std::size_t i) {
    const bool wide = ShiftJisByteClass(static_cast<unsigned char>(sjis[i])) == ByteClass::Lead &&
                      i + 1 < sjis.size() &&
                      IsShiftJisSecondByte(static_cast<unsigned char>(sjis[i + 1]));
    return wide ? 2 : 1;
}

std::vector<PreviewRow> PreviewRows(std::string_view sjis, int columns) {
    const std::size_t cellsPerRow = 2 * static_cast<std::size_t>(columns < 1 ? 1 : columns);
    std::vector<PreviewRow> rows;
    // A full row of full-width characters is the common case of a long message.
    rows.reserve(sjis.size() / cellsPerRow + 1);
    PreviewRow row;
    std::size_t cells = 0;
    std::size_t i = 0;
    while (i < sjis.size()) {
        const auto byte = static_cast<unsigned char>(sjis[i]);
        if (byte == '\r' || byte == '\n') {
            row.end = i;
            rows.push_back(row);
            i += byte == '\r' && i + 1 < sjis.size() && sjis[i + 1] == '\n' ? 2 : 1;
            row = {i, i};
            cells = 0;
            continue;
        }
        const std::size_t width = PreviewCharLength(sjis, i);
        if (cells + width > cellsPerRow) {
            row.end = i;
            rows.push_back(row);
            row = {i, i};
            cells = 0;
        }
        cells += width;
        i += width;
    }
    row.end = sjis.size();
    rows.push_back(row);
    return rows;
}

}  // namespace tarvelo
