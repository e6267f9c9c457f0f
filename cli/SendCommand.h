// tarvelo-send, the sending of one message from a terminal or a script, as functions without
// input or output of their own: what the arguments ask for, and what is printed.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compose/Composition.h"
#include "settings/SettingsStore.h"
#include "settings/Submission.h"

namespace tarvelo {

// The exit status of tarvelo-send; scripts test it. The numbers are those of <sysexits.h>, as
// mail tools use them, written out because not every platform has the header.
enum class SendStatus {
    Sent = 0,           // the server has taken the mail, for every number
    Usage = 64,         // the command line is wrong
    DataError = 65,     // the message or a number is refused; nothing was sent
    NoHost = 68,        // the server's name does not exist
    Unavailable = 69,   // a permanent refusal (5xx), or TLS impossible or the certificate refused
    IoError = 74,       // standard input could not be read, or the output written
    TempFail = 75,      // try again later: no connection, a 4xx, a time-out, the connection lost
    Protocol = 76,      // the server's replies are not SMTP
    NoPermission = 77,  // the login was refused
    Config = 78,        // the settings are missing, unreadable or unusable
};

inline constexpr int kDefaultColumns = 12;
inline constexpr int kMinColumns = 5;
inline constexpr int kMaxColumns = 15;

// The status that stands for several sendings: a failure over success, and a failure that
// waiting will not mend over one that it may (a temporary one); the first of equals.
SendStatus WorstStatus(const std::vector<SendStatus>& statuses);

// The most that standard input may hold: far more than any message needs, however it is written
// (69 characters of four bytes each, and its line breaks). Reading stops there and the input is
// refused rather than held whole, whatever feeds it.
inline constexpr std::size_t kMaxInputBytes = 64 * 1024;

struct SendOptions {
    std::string number;                  // NUMBER as given: one handset number or a list
    std::optional<std::string> message;  // as given; none: read standard input
    // --settings DIR; none: ChooseSettingsFolder looks for a folder.
    std::optional<std::string> settingsDir = std::nullopt;
    bool dryRun = false;
    int columns = kDefaultColumns;
    bool testMode = false;
    bool verbose = false;
    bool log = false;
    // Over the submission settings for this run; none leaves the settings' own.
    std::optional<int> port = std::nullopt;
    std::optional<Security> security = std::nullopt;
    std::optional<std::string> login = std::nullopt;
    std::optional<std::string> caFile = std::nullopt;
    std::string passwordCommand = {};  // empty: no password from a command
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

// settings with what options override.
SubmissionSettings Overridden(SubmissionSettings settings, const SendOptions& options);

// The synopsis and options, for --help on standard output and after a usage error on standard
// error.
extern const std::string_view kSendUsage;

// "tarvelo-send (Tarvelo from E-Mail) 1.1beta1" and a line end.
std::string SendVersionText();

// Why settings that were read cannot carry a sending, found before connecting rather than
// refused by the server: no SMTP server, no gateway domain. None when they can.
std::optional<std::string> UnusableSettings(const Settings& settings);

// The handset numbers of NUMBER, UTF-8: a comma-separated list, with the spaces around each
// number taken off. An empty number stays in the list, to be refused as the window refuses one.
std::vector<std::string> SplitNumbers(std::string_view numbers);

// A message read from standard input: the whole of it, less one line break at its end (the one
// that echo and a here-document add), and less its zero bytes, which the window takes out of a
// message as it is typed or pasted (an argument cannot hold one).
std::string MessageFromInput(std::string_view input);

// What --dry-run prints, UTF-8: the preview's rows at columns, then for each composition (one
// for each number, of the same message) an empty line and the mail image's lines; every line
// ends with a line feed.
std::string DryRunText(const std::vector<Composition>& compositions, int columns);

// UTF-8 text as it may reach a terminal: a control character becomes caret notation ("^[" for
// ESC, "^?" for DEL), so that neither the mail's escape sequences nor what a server sends (a
// reply shown in an error) can steer the terminal.
std::string TerminalText(std::string_view utf8);

// A log line (Shift-JIS, as the debug log holds it) as --verbose prints it: TerminalText of its
// UTF-8.
std::string TerminalLine(std::string_view sjisLine);

// text, about the mail to numbers[index], as its error line says it: after the number when
// there are several.
std::string NumberLine(const std::vector<std::string>& numbers, std::size_t index,
                       std::string_view text);

// The window's error texts for a message it would refuse, the message's first, then the
// number's; UTF-8. None when the message may be sent.
std::vector<std::string_view> RefusalTexts(const Composition& composition);

// The window's error texts for one message to numbers (UTF-8, one composition each): the
// message's once, then each number's, after the number when there are several. None when every
// mail may be sent.
std::vector<std::string> RefusalLines(const std::vector<std::string>& numbers,
                                      const std::vector<Composition>& compositions);

}  // namespace tarvelo
