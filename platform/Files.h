// Small whole files (the settings files, the log), one side per platform (FilesPosix.cpp,
// FilesWin32.cpp). Names are UTF-8; bytes go to and from the disk unchanged, line ends
// included; only regular files are read or written, never a directory, a pipe or a device.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tarvelo {

// Whether no file of that name exists at all. Only such a file may be given defaults: one
// that exists but cannot be read is the user's, and stays as it is.
bool FileMissing(std::string_view fileName);

// The whole file; nullopt at once when it cannot be opened or read (a missing file included),
// when it is not a regular file (also through a symbolic link) or when it holds more than
// maxBytes. Nothing waits or reads without end.
std::optional<std::string> ReadRegularFile(std::string_view fileName, std::size_t maxBytes);
// The same, and when it gives nullopt, why ("not a regular file", "larger than N bytes", or
// the system's reason, in English) in why.
std::optional<std::string> ReadRegularFile(std::string_view fileName, std::size_t maxBytes,
                                           std::string& why);

// Replaces the file whole with bytes. They go to a temporary file beside it, reach the disk,
// and only then take the old file's name (keeping its permissions where the platform has
// them), so that a failed save never leaves the old file cut short or empty. false when the
// file as it is refuses writing (read-only, a directory, a read-only mount) or any step fails
// (a full disk); the old file is then as it was and no temporary file is left behind.
bool ReplaceRegularFile(std::string_view fileName, std::string_view bytes);

// Why a file that is there could not be read as a regular file of at most maxBytes, found by
// trying again, as the rest of an English line: "permission denied", "is a directory", "larger
// than 65536 bytes", or "it changed while it was read" when it reads now.
std::string UnreadableReason(std::string_view fileName, std::size_t maxBytes);

enum class AppendResult { Appended, OpenFailed, WriteFailed };

// Adds bytes at the end of the file, creating it when missing. OpenFailed when it cannot be
// opened for writing or is not a regular file (a pipe would block, a device would swallow the
// bytes). WriteFailed when any byte did not reach the disk (a full disk); the file is then cut
// back to its old length, or removed again when this call created it.
AppendResult AppendToRegularFile(std::string_view fileName, std::string_view bytes);

}  // namespace tarvelo
