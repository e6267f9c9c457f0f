#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/PasswordCommand.h"
#include "platform/SecretText.h"

namespace tarvelo {

std::optional<SecretText> PasswordFromCommand(const std::string& command, std::string& error) {
    // Through cmd.exe, as the POSIX side goes through the shell.
    KeepSecretsOutOfCoreDumps();
    std::FILE* output = ::_popen(command.c_str(), "rb");
    if (output == nullptr) {
        error = "cannot run the password command: " + std::string(std::strerror(errno));
        return std::nullopt;
    }
    SecretText password = FirstLineOf(output);
    if (::_pclose(output) != 0) {
        error = "the password command failed";
        return std::nullopt;
    }
    return password;
}

}  // namespace tarvelo
