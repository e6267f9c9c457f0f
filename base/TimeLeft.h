// What is left of a wait until a deadline, for the calls that take a time-out.
#pragma once

#include <algorithm>
#include <chrono>

namespace tarvelo {

// In whole milliseconds rounded up, so that a wait never ends just before its deadline, and
// none once the deadline has passed.
inline std::chrono::milliseconds TimeLeft(std::chrono::steady_clock::time_point deadline) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return std::max(left, std::chrono::milliseconds(0));
}

}  // namespace tarvelo
