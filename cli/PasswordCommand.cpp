#include "cli/PasswordCommand.h"

#include "platform/ChildCommand.h"
#include "platform/SecretText.h"

namespace tarvelo {

std::optional<SecretText> PasswordFromCommand(const std::string& command, std::string& error) {
    KeepSecretsOutOfCoreDumps();
    CommandOutput output = RunForFirstLine(command);
    switch (output.kind) {
        case CommandOutput::Kind::FirstLine:
            return std::move(output.firstLine);
        case CommandOutput::Kind::CannotRun:
            error = "cannot run the password command: " + output.reason;
            return std::nullopt;
        case CommandOutput::Kind::Failed:
            break;
    }
    error = "the password command failed";
    return std::nullopt;
}

}  // namespace tarvelo
