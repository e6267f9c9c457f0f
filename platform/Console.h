// What a terminal program reads and writes, one side per platform (ConsolePosix.cpp,
// ConsoleWin32.cpp). Text is UTF-8 on this side of the layer.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvelo {

// The program's arguments after its own name, as UTF-8. On Windows they are taken from the
// command line as the system holds it (UTF-16): argv has them in the ANSI code page, which
// turns what it lacks into question marks.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// All of standard input, its bytes unchanged (line ends and a Ctrl-Z included).
std::string ReadStandardInput();

enum class OutputStream { Standard, Error };

// Writes the text out whole. A console shows it as the characters it is whatever its code
// page; a file or a pipe gets the UTF-8 bytes unchanged, as on every platform.
void WriteText(OutputStream stream, std::string_view utf8);

}  // namespace tarvelo
