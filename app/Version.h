// The program's name and version as the windows, the log file and the mail header show them.
#pragma once

#include <string_view>

namespace tarvelo {

inline constexpr std::string_view kApplicationTitle = "Tarvelo from E-Mail";
inline constexpr std::string_view kVersionText = "Tarvelo from E-Mail Ver 1.1beta1";

}  // namespace tarvelo
