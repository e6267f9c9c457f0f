// The password for a login, as the first line that a command of the user's prints: the
// password never stands in tarvelo-send's arguments, its environment or a file of its own.
#pragma once

#include <optional>
#include <string>

#include "platform/SecretText.h"

namespace tarvelo {

// Runs command through the shell (platform/ChildCommand.h), its standard input and error the
// program's own, and gives the first line of what it prints, without its line end. None when
// it cannot be run or ends with a status other than 0; error then says why. Before it runs,
// the process is kept out of core dumps for as long as it lives, where the platform can do that.
std::optional<SecretText> PasswordFromCommand(const std::string& command, std::string& error);

}  // namespace tarvelo
