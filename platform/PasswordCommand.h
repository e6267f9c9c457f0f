// The password for a login, as the first line that a command of the user's prints: the
// password never stands in tarvelo-send's arguments, its environment or a file of its own.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/SecretText.h"

namespace tarvelo {

// How long and how much a password command is given.
struct PasswordCommandBounds {
    // From its start until its first line end.
    std::chrono::milliseconds line = std::chrono::seconds(30);
    // After the first line, to exit of itself before it is ended.
    std::chrono::milliseconds exit = std::chrono::seconds(2);
    // What it may print before its first line end.
    std::size_t bytes = 4096;
};

// Runs command through the shell, its standard input and error the program's own, in a
// process group of its own, and gives the first line of what it prints (without its line
// end). The first line ends the wait; a command that has not exited within bounds.exit after
// it is ended with its whole group, and the line stands. None when it cannot be run, ends with
// a status other than 0 before that, prints no line within bounds.line or prints more than
// bounds.bytes without a line end (it is then ended with its group); error then says why.
// Before it runs, the process is kept out of core dumps for as long as it lives, where the
// platform can do that.
std::optional<SecretText> PasswordFromCommand(const std::string& command, std::string& error,
                                              const PasswordCommandBounds& bounds = {});

// Gathers what a command prints up to its first line end, within bounds.bytes.
class FirstLine {
public:
    explicit FirstLine(std::size_t maxBytes) : maxBytes_(maxBytes) {}
    // Takes bytes as they come; true once the line is whole (or more than the bound came).
    bool Add(std::string_view bytes);
    bool TooLong() const { return tooLong_; }
    bool Whole() const { return whole_; }
    // The line without CR LF or LF.
    SecretText Take();

private:
    std::size_t maxBytes_;
    SecretText line_;
    bool whole_ = false;
    bool tooLong_ = false;
};

// The reasons, shared by the platforms' sides.
std::string PasswordCommandTooLong(const PasswordCommandBounds& bounds);
std::string PasswordCommandTooSlow(const PasswordCommandBounds& bounds);

}  // namespace tarvelo
