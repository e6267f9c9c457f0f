// The settings files as ordered lists of Shift-JIS lines, read and written byte for byte.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Files.h"

namespace tarvelo {

// One line per entry, without its line end; Shift-JIS bytes, nothing trimmed or converted.
using LineList = std::vector<std::string>;

// Splits a file's bytes into lines. A line ends at CR LF, at a lone CR or at a lone LF; the last
// line needs no line end, and a line end at the very end adds no empty line, so empty bytes give
// no lines. A zero byte stays in its line like any other, so that a file written back unedited
// is the file that was read, every byte after a zero included. Raises nothing, whatever the
// bytes.
LineList ParseLines(std::string_view bytes);

// The bytes of a written file: every line, the last included, followed by CR LF.
std::string FormatLines(const LineList& lines);

// A list file is a few short lines; anything larger is not one of ours.
inline constexpr std::size_t kMaxListFileBytes = 1024 * 1024;

// Reads the whole file. Raises FileOpenError(fileName) at once when it cannot be opened or read
// (a missing file included), when it is not a regular file (a directory, a pipe, a device such
// as /dev/zero, also through a symbolic link) or when it holds more than kMaxListFileBytes;
// nothing then waits or reads without end.
std::string ReadListFileBytes(std::string_view fileName);

// ParseLines of ReadListFileBytes, with its errors.
LineList ReadLineList(std::string_view fileName);

// Replaces the file whole with FormatLines(lines). The new bytes go to a temporary file beside
// it, reach the disk, and only then take the old file's name, keeping its permission bits, so
// that a failed save never leaves the stored settings cut short or empty. Raises
// FileCreateError(fileName) when the file as it is refuses writing (a read-only file, a
// directory, a read-only mount) or any step fails (a full disk); the old file is then as it
// was and no temporary file is left behind.
void WriteLineList(std::string_view fileName, const LineList& lines);

// Adds FormatLines(lines) at the end of the file, creating it when missing. OpenFailed when it
// cannot be opened for writing or is not a regular file (a pipe would block, a device would
// swallow the lines). WriteFailed when any byte did not reach the disk (a full disk); the file
// is then cut back to its old length, or removed again when this call created it, so that
// the next append does not start in the middle of a line.
AppendResult AppendLineList(std::string_view fileName, const LineList& lines);

// lines[index]; raises ListIndexError() past the end, as reading a missing line of a settings
// file must.
const std::string& LineAt(const LineList& lines, std::size_t index);

}  // namespace tarvelo
