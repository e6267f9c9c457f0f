#include <sys/prctl.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/PasswordCommand.h"

namespace tarvelo {

std::optional<std::string> PasswordFromCommand(const std::string& command, std::string& error) {
    // A core dump would hold the password; so would /proc/PID/mem for another of the user's
    // processes, which a process that cannot dump keeps out too.
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
    std::FILE* output = ::popen(command.c_str(), "r");
    if (output == nullptr) {
        error = "cannot run the password command: " + std::string(std::strerror(errno));
        return std::nullopt;
    }
    std::string password;
    for (int c; (c = std::fgetc(output)) != EOF && c != '\n';) {
        password.push_back(static_cast<char>(c));
    }
    // The rest is read and dropped, so that the command does not die of a broken pipe.
    while (std::fgetc(output) != EOF) {
    }
    const int status = ::pclose(output);
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        error = "the password command failed";
        return std::nullopt;
    }
    if (password.ends_with('\r')) {
        password.pop_back();
    }
    return password;
}

}  // namespace tarvelo
