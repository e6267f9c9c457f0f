// The command line, read before any window exists: the program is configured only through its
// settings files, so it knows three options and refuses every other argument.
#pragma once

#include <span>
#include <string>

namespace tarvelo {

// What to do after reading the command line.
struct CommandLineReply {
    bool run = true;     // no arguments, or --menu: open the windows
    bool menu = false;   // --menu: first make and enter the menu's folder (MenuSettingsFolder)
    int exitStatus = 0;  // when not running: 0 for --version and --help, 2 for a wrong argument
    std::string output;  // for standard output
    std::string error;   // for standard error
};

// arguments are those after the program's name.
CommandLineReply ReadCommandLine(std::span<const char* const> arguments);

}  // namespace tarvelo
