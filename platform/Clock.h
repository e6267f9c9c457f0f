// The local time, one side per platform (ClockPosix.cpp, ClockWin32.cpp).
#pragma once

#include <ctime>
#include <string>

namespace tarvelo {

// when in the machine's local time, formatted by strftime's format in the C locale, so that
// the names of days and months stay English whatever the user's locale.
std::string FormatLocalTime(std::time_t when, const char* format);

}  // namespace tarvelo
