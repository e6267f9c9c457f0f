#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/ChildCommand.h"

namespace tarvelo {

// Through cmd.exe, as the POSIX side goes through the shell.
CommandOutput RunForFirstLine(const std::string& command) {
    std::FILE* output = ::_popen(command.c_str(), "rb");
    if (output == nullptr) {
        return {.kind = CommandOutput::Kind::CannotRun, .reason = std::strerror(errno)};
    }
    SecretText line = FirstLineOf(output);
    if (::_pclose(output) != 0) {
        return {};
    }
    return {.kind = CommandOutput::Kind::FirstLine, .firstLine = std::move(line)};
}

}  // namespace tarvelo
