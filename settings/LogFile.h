// The log file: each save appends one block, a banner line and the debug log's lines.
#pragma once

#include <string_view>

#include "settings/LineList.h"

namespace tarvelo {

inline constexpr std::string_view kLogFileName = "TVEMAIL.LOG";

// The block that one save appends: "--- Logging by <version text> ---", then the lines, each
// whole and unchanged.
LineList LogBlock(const LineList& logLines);

// Appends LogBlock(logLines) to fileName, every line followed by CR LF. Raises LogOpenError
// when the file cannot be opened or is not a regular file, and LogWriteError when the block did
// not reach the disk whole; the file is then exactly as it was before.
void SaveLogBlock(std::string_view fileName, const LineList& logLines);

}  // namespace tarvelo
