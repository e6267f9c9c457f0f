#include <sys/wait.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/ChildCommand.h"

namespace tarvelo {

CommandOutput RunForFirstLine(const std::string& command) {
    std::FILE* output = ::popen(command.c_str(), "r");
    if (output == nullptr) {
        return {.kind = CommandOutput::Kind::CannotRun, .reason = std::strerror(errno)};
    }
    SecretText line = FirstLineOf(output);
    const int status = ::pclose(output);
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return {};
    }
    return {.kind = CommandOutput::Kind::FirstLine, .firstLine = std::move(line)};
}

}  // namespace tarvelo
