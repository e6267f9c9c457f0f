// A question with answers of the program's own naming, which the platform's message box
// cannot give: its buttons say はい and いいえ whatever they do.
#pragma once

#include <windows.h>

#include <span>
#include <string_view>

namespace tarvelo::win32 {

// Asks text (UTF-8) over the active window, with one button per answer in the given order;
// Enter presses the first, Esc and the close box the last. Returns the index of the answer.
std::size_t AskQuestion(std::string_view text, std::span<const std::string_view> answers);

}  // namespace tarvelo::win32
