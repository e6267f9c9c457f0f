// The settings files as ordered lists of Shift-JIS lines, read and written byte for byte.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvelo {

// One line per entry, without its line end; Shift-JIS bytes, nothing trimmed or converted.
using LineList = std::vector<std::string>;

// Splits a file's bytes into lines. A line ends at CR LF, at a lone CR or at a lone LF; a zero
// byte ends the text; the last line needs no line end, and a line end at the very end adds no
// empty line, so empty bytes give no lines. Raises nothing, whatever the bytes.
LineList ParseLines(std::string_view bytes);

// The bytes of a written file: every line, the last included, followed by CR LF.
std::string FormatLines(const LineList& lines);

// The existence test: whether fileName can be opened for reading. A file that passes it may
// still fail to be read (a directory does).
bool FileExists(std::string_view fileName);

// Reads the whole file and splits it by ParseLines. Raises FileOpenError(fileName) when it
// cannot be opened or read, a missing file included.
LineList ReadLineList(std::string_view fileName);

// Replaces the file whole with FormatLines(lines). The new bytes go to a temporary file beside
// it, reach the disk, and only then take the old file's name, keeping its permission bits, so
// that a failed save never leaves the stored settings cut short or empty. Raises
// FileCreateError(fileName) when the file as it is refuses writing (a read-only file, a
// directory, a read-only mount) or any step fails (a full disk); the old file is then as it
// was and no temporary file is left behind.
void WriteLineList(std::string_view fileName, const LineList& lines);

// lines[index]; raises ListIndexError() past the end, as reading a missing line of a settings
// file must.
const std::string& LineAt(const LineList& lines, std::size_t index);

}  // namespace tarvelo
