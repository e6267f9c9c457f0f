#include <sys/wait.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/PasswordCommand.h"
#include "platform/SecretText.h"

namespace tarvelo {

std::optional<SecretText> PasswordFromCommand(const std::string& command, std::string& error) {
    KeepSecretsOutOfCoreDumps();
    std::FILE* output = ::popen(command.c_str(), "r");
    if (output == nullptr) {
        error = "cannot run the password command: " + std::string(std::strerror(errno));
        return std::nullopt;
    }
    SecretText password = FirstLineOf(output);
    const int status = ::pclose(output);
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        error = "the password command failed";
        return std::nullopt;
    }
    return password;
}

}  // namespace tarvelo
