// The two fonts the windows of both front ends are designed with, by name (UTF-8):
// fixed-pitch for the message, the preview and the log; proportional for the windows.
#pragma once

#include <string_view>

namespace tarvelo {

inline constexpr std::string_view kGothicFontName = "ＭＳ ゴシック";
inline constexpr std::string_view kPGothicFontName = "ＭＳ Ｐゴシック";

}  // namespace tarvelo
