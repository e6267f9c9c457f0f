// Text where a terminal program meets its user: its arguments, standard input and output are in
// the user's encoding (the locale's), while the program works in UTF-8. One side per platform.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarvelo {

// Takes the user's encoding from the environment, and makes a write to a closed pipe a failed
// write rather than the end of the program; called once, before any of the others.
void StartConsole();

// The encoding's name, as the messages show it ("UTF-8", "SHIFT_JIS", "EUC-JP"). A locale of
// plain ASCII (C, POSIX) counts as UTF-8, as it does for most programs today.
std::string ConsoleEncoding();

// bytes in encoding as UTF-8; none when they are not valid in it.
std::optional<std::string> ConsoleToUtf8(std::string_view bytes, const std::string& encoding);

// UTF-8 in encoding. A character that it cannot hold, or a byte that is not UTF-8, becomes
// "?": what is shown stays readable, and nothing is taken from it without a mark.
std::string Utf8ToConsole(std::string_view utf8, const std::string& encoding);

}  // namespace tarvelo
