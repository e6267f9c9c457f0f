#include <locale.h>
#include <time.h>

#include <array>

#include "platform/Clock.h"

namespace tarvelo {

namespace {

// The C locale as a handle of its own, so the names stay English without touching the global
// locale that the rest of the program (and other threads) may rely on. glibc hands out its
// built-in C locale object for this request, so it cannot fail for want of memory.
locale_t CLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return locale;
}

}  // namespace

std::string FormatUniversalTime(std::time_t when, const char* format) {
    std::tm wallTime{};
    gmtime_r(&when, &wallTime);
    std::array<char, 64> buffer{};
    const std::size_t length =
        strftime_l(buffer.data(), buffer.size(), format, &wallTime, CLocale());
    return std::string(buffer.data(), length);
}

}  // namespace tarvelo
