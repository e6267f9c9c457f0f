// tarvelo-send, the sending of one message from a terminal or a script, as functions without
// input or output of their own: what the arguments ask for, and what is printed.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compose/Composition.h"

namespace tarvelo {

// The exit status of tarvelo-send; scripts test it. The numbers are those of <sysexits.h>, as
// mail tools use them, written out because not every platform has the header.
enum class SendStatus {
    Sent = 0,           // the server has taken the mail, for every number
    Usage = 64,         // the command line is wrong
    DataError = 65,     // the message or a number is refused; nothing was sent
    NoHost = 68,        // the server's name does not exist
    Unavailable = 69,   // a permanent refusal (5xx), or TLS impossible or the certificate refused
    IoError = 74,       // the output could not be written
    TempFail = 75,      // try again later: no connection, a 4xx, a time-out, the connection lost
    Protocol = 76,      // the server's replies are not SMTP
    NoPermission = 77,  // the login was refused
    Config = 78,        // the settings are missing, unreadable or unusable
};

struct SendOptions {
    std::string number;                  // the handset number, UTF-8 as given
    std::optional<std::string> message;  // UTF-8 as given; none: read standard input
    std::string settingsDir = ".";
    bool dryRun = false;
    int columns = kDefaultColumns;
    bool testMode = false;
    bool verbose = false;
    bool log = false;
};

struct SendCommand {
    enum class Action { Send, Help, Version, UsageError };
    Action action = Action::Send;
    SendOptions options;
    std::string error;  // for UsageError: what was wrong, one line
};

// arguments: what follows the program's name. Options may stand before, between or after
// NUMBER and MESSAGE; "--" ends them, so that a message may begin with "-". --help and
// --version win over everything else that follows them.
SendCommand ParseSendArguments(const std::vector<std::string>& arguments);

// The synopsis and options, for --help on standard output and after a usage error on standard
// error.
extern const std::string_view kSendUsage;

// "tarvelo-send (Tarvelo from E-Mail) 1.1beta1" and a line end.
std::string SendVersionText();

// A message read from standard input: the whole of it, less one line break at its end (the one
// that echo and a here-document add), and less its zero bytes, which the window takes out of a
// message as it is typed or pasted (an argument cannot hold one).
std::string MessageFromInput(std::string_view input);

// What --dry-run prints, UTF-8: the preview's rows at columns, an empty line, the mail image's
// lines; every line ends with a line feed.
std::string DryRunText(const Composition& composition, int columns);

// UTF-8 text as it may reach a terminal: a control character becomes caret notation ("^[" for
// ESC, "^?" for DEL), so that neither the mail's escape sequences nor what a server sends (a
// reply shown in an error) can steer the terminal.
std::string TerminalText(std::string_view utf8);

// A log line (Shift-JIS, as the debug log holds it) as --verbose prints it: TerminalText of its
// UTF-8.
std::string TerminalLine(std::string_view sjisLine);

// The window's error texts for a message it would refuse, the message's first, then the
// number's; UTF-8. None when the message may be sent.
std::vector<std::string_view> RefusalTexts(const Composition& composition);

}  // namespace tarvelo
