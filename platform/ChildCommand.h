// A command of the user's, run through the system's shell (sh -c, cmd.exe) with the program's
// own standard input and error: what it prints first. One side per platform
// (ChildCommandPosix.cpp, ChildCommandWin32.cpp).
#pragma once

#include <cstdio>
#include <string>

#include "platform/SecretText.h"

namespace tarvelo {

struct CommandOutput {
    enum class Kind {
        FirstLine,  // it ended with status 0: firstLine holds what it printed first
        CannotRun,  // it could not be started: reason says why
        Failed,     // it ended with another status, or by a signal
    };
    Kind kind = Kind::Failed;
    SecretText firstLine = {};  // without its line end (LF, or CR LF); a password, often
    std::string reason = {};
};

CommandOutput RunForFirstLine(const std::string& command);

// The first line of what a command prints (without CR LF or LF), the rest read and dropped so
// that the command does not die of a broken pipe. Read unbuffered, as a secret: the stream's
// buffer would keep a copy that nobody wipes.
SecretText FirstLineOf(std::FILE* output);

}  // namespace tarvelo
