#include <time.h>

#include <array>

#include "platform/Clock.h"

namespace tarvelo {

std::string FormatUniversalTime(std::time_t when, const char* format) {
    std::tm wallTime{};
    gmtime_s(&wallTime, &when);
    // msvcrt has no strftime with a locale of its own (_strftime_l is of later runtimes); the
    // programs never call setlocale, so the C library keeps the C locale it starts in.
    std::array<char, 64> buffer{};
    const std::size_t length = strftime(buffer.data(), buffer.size(), format, &wallTime);
    return std::string(buffer.data(), length);
}

}  // namespace tarvelo
