// Calendar time, one side per platform (ClockPosix.cpp, ClockWin32.cpp).
#pragma once

#include <ctime>
#include <string>

namespace tarvelo {

// when as UTC's wall time (no zone of the machine's applies), formatted by strftime's format in the
// C locale, so that the names of days and months stay English whatever the user's locale.
std::string FormatUniversalTime(std::time_t when, const char* format);

}  // namespace tarvelo
