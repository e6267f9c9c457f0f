#include "cli/SendCommand.h"

#include <getopt.h>

#include <algorithm>
#include <charconv>
#include <string>

#include "base/CaretNotation.h"
#include "base/Version.h"
#include "platform/ShiftJis.h"
#include "settings/SettingsFiles.h"

namespace tarvelo {

const std::string_view kSendUsage =
    "Usage: tarvelo-send [OPTIONS] NUMBER[,NUMBER...] [MESSAGE]\n"
    "Sends MESSAGE (or, without it, standard input) to each PHS handset NUMBER through the\n"
    "gateway in tvdomain.ini, with the sender and SMTP server of tvemail.ini.\n"
    "\n"
    "  -n, --dry-run      send nothing; print the handset preview and the mail image\n"
    "      --columns N    width of the preview, 5 to 15 full-width characters (default 12)\n"
    "      --test         test mode: send the text unconverted\n"
    "      --settings DIR read the settings from DIR (default: the current directory when it\n"
    "                     holds them, else $XDG_DATA_HOME/tarvelo)\n"
    "  -v, --verbose      print the SMTP conversation to standard error\n"
    "      --log          append the conversation to TVEMAIL.LOG in the settings folder\n"
    "      --port N       connect to port N of the server (587: STARTTLS, 465: TLS)\n"
    "      --security none|starttls|tls\n"
    "                     plain text, STARTTLS required, or TLS from the first byte\n"
    "      --user LOGIN   log in as LOGIN (AUTH PLAIN or LOGIN, only over TLS)\n"
    "      --password-command CMD\n"
    "                     the password is the first line that the shell command CMD prints\n"
    "      --ca-file FILE trust the CAs in FILE (PEM) besides the system's\n"
    "  -V, --version      print the version and exit\n"
    "  -h, --help         print this help and exit\n"
    "\n"
    "Exit status: 0 sent, 64 usage, 65 message or number refused, 68 unknown server,\n"
    "69 refused for good, 74 output lost, 75 try again later, 76 not SMTP, 77 login refused,\n"
    "78 settings missing or unusable (see tarvelo-send(1)).\n";

namespace {

// The long options without a short one; those with one are their letter.
enum Option {
    kColumnsOption = 256,
    kTestOption,
    kSettingsOption,
    kLogOption,
    kPortOption,
    kSecurityOption,
    kUserOption,
    kPasswordCommandOption,
    kCaFileOption,
};

constexpr option kOptions[] = {
    {"dry-run", no_argument, nullptr, 'n'},
    {"columns", required_argument, nullptr, kColumnsOption},
    {"test", no_argument, nullptr, kTestOption},
    {"settings", required_argument, nullptr, kSettingsOption},
    {"verbose", no_argument, nullptr, 'v'},
    {"log", no_argument, nullptr, kLogOption},
    {"version", no_argument, nullptr, 'V'},
    {"help", no_argument, nullptr, 'h'},
    {"port", required_argument, nullptr, kPortOption},
    {"security", required_argument, nullptr, kSecurityOption},
    {"user", required_argument, nullptr, kUserOption},
    {"password-command", required_argument, nullptr, kPasswordCommandOption},
    {"ca-file", required_argument, nullptr, kCaFileOption},
    {nullptr, 0, nullptr, 0},
};

std::optional<int> ParseColumns(std::string_view text) {
    int columns = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), columns);
    if (error != std::errc() || end != text.data() + text.size() || columns < kMinColumns ||
        columns > kMaxColumns) {
        return std::nullopt;
    }
    return columns;
}

std::string TakesNoValue(std::string_view argument) {
    return "option '" + std::string(argument.substr(0, argument.find('='))) + "' takes no value";
}

// getopt_long leaves in optopt the option's value when a long option that takes none was given
// one, the byte of an unknown short option (of a character of several bytes, its first), and 0
// for an unknown long one. getopt_long has moved on to the next argument when the byte was the
// last of its argument, and not otherwise; the argument is named whole, as it was written.
std::string UnknownOption(const std::vector<char*>& argv, int argc) {
    const std::string_view last = argv[optind - 1];
    const bool flagGivenValue =
        optopt != 0 && last.starts_with("--") &&
        std::any_of(std::begin(kOptions), std::end(kOptions), [](const option& known) {
            return known.name != nullptr && known.has_arg == no_argument && known.val == optopt;
        });
    if (flagGivenValue) {
        return TakesNoValue(last);
    }
    const bool stillInIt =
        optopt != 0 && optind < argc && argv[optind][0] == '-' &&
        std::string_view(argv[optind]).find(static_cast<char>(optopt), 1) != std::string_view::npos;
    return "unknown option '" + std::string(stillInIt ? argv[optind] : last) + "'";
}

SendCommand UsageError(std::string error) {
    SendCommand command;
    command.action = SendCommand::Action::UsageError;
    command.error = std::move(error);
    return command;
}

}  // namespace

SubmissionSettings Overridden(SubmissionSettings settings, const SendOptions& options) {
    if (options.port) {
        settings.port = options.port;
    }
    if (options.security) {
        settings.security = options.security;
    }
    settings.login = options.login.value_or(settings.login);
    settings.caFile = options.caFile.value_or(settings.caFile);
    return settings;
}

SendCommand ParseSendArguments(const std::vector<std::string>& arguments) {
    // getopt_long permutes the array it is given: it gets copies, and starts afresh (optind 0)
    // at every call.
    std::vector<std::string> copies{"tarvelo-send"};
    copies.insert(copies.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& copy : copies) {
        argv.push_back(copy.data());
    }
    argv.push_back(nullptr);
    const int argc = static_cast<int>(copies.size());

    SendCommand command;
    SendOptions& options = command.options;
    optind = 0;
    opterr = 0;
    for (int option; (option = getopt_long(argc, argv.data(), ":nvVh", kOptions, nullptr)) != -1;) {
        switch (option) {
            case 'n':
                options.dryRun = true;
                break;
            case kColumnsOption:
                if (const std::optional<int> columns = ParseColumns(optarg)) {
                    options.columns = *columns;
                } else {
                    return UsageError("--columns takes a number from 5 to 15, not '" +
                                      std::string(optarg) + "'");
                }
                break;
            case kTestOption:
                options.testMode = true;
                break;
            case kSettingsOption:
                options.settingsDir = optarg;
                break;
            case 'v':
                options.verbose = true;
                break;
            case kLogOption:
                options.log = true;
                break;
            case kPortOption:
                options.port = PortFromText(optarg);
                if (!options.port) {
                    return UsageError("--port takes a number from 1 to 65535, not '" +
                                      std::string(optarg) + "'");
                }
                break;
            case kSecurityOption:
                options.security = SecurityFromWord(optarg);
                if (!options.security) {
                    return UsageError("--security takes none, starttls or tls, not '" +
                                      std::string(optarg) + "'");
                }
                break;
            case kUserOption:
                options.login = optarg;
                break;
            case kPasswordCommandOption:
                options.passwordCommand = optarg;
                break;
            case kCaFileOption:
                options.caFile = optarg;
                break;
            case 'V':
                command.action = SendCommand::Action::Version;
                return command;
            case 'h':
                command.action = SendCommand::Action::Help;
                return command;
            case ':':
                // MinGW's getopt_long says so also of a value given to an option that takes
                // none; glibc's never does, as "--settings=" gives an empty value.
                if (std::string_view(argv[optind - 1]).find('=') != std::string_view::npos) {
                    return UsageError(TakesNoValue(argv[optind - 1]));
                }
                return UsageError("option '" + std::string(argv[optind - 1]) + "' needs a value");
            default:
                return UsageError(UnknownOption(argv, argc));
        }
    }
    const std::vector<std::string> operands(argv.begin() + optind, argv.begin() + argc);
    if (operands.empty()) {
        return UsageError("the handset NUMBER is missing");
    }
    if (operands.size() > 2) {
        return UsageError("too many arguments, from '" + operands[2] +
                          "' on (quote a message of several words)");
    }
    options.number = operands[0];
    if (operands.size() == 2) {
        options.message = operands[1];
    }
    return command;
}

std::string SendVersionText() {
    return "tarvelo-send (" + std::string(kApplicationTitle) + ") " + std::string(kVersion) + "\n";
}

std::string MessageFromInput(std::string_view input) {
    std::string message(input);
    std::erase(message, '\0');
    if (message.ends_with("\r\n")) {
        message.resize(message.size() - 2);
    } else if (message.ends_with('\n')) {
        message.pop_back();
    }
    return message;
}

std::string DryRunText(const std::vector<Composition>& compositions, int columns) {
    std::string text;
    if (compositions.empty()) {
        return text;
    }
    // The preview is the message's alone: the same for every number.
    for (const std::string& row : PreviewRows(compositions.front().preview, columns)) {
        text.append(ShiftJisToUtf8(row)).push_back('\n');
    }
    for (const Composition& composition : compositions) {
        text.push_back('\n');
        for (const std::string& line : composition.mailImage) {
            text.append(ShiftJisToUtf8(line)).push_back('\n');
        }
    }
    return text;
}

std::optional<std::string> UnusableSettings(const Settings& settings) {
    if (settings.smtp.empty()) {
        return "no SMTP server: the second line of " + std::string(kSettingsFileName) + " is empty";
    }
    // The first domain is the gateway in use.
    if (settings.domains.empty()) {
        return "no gateway domain: " + std::string(kDomainFileName) + " is empty";
    }
    if (settings.domains.front().empty()) {
        return "no gateway domain: the first line of " + std::string(kDomainFileName) + " is empty";
    }
    return std::nullopt;
}

std::vector<std::string> SplitNumbers(std::string_view numbers) {
    std::vector<std::string> list;
    for (std::size_t start = 0;;) {
        const std::size_t comma = numbers.find(',', start);
        std::string_view number = numbers.substr(start, comma - start);
        number.remove_prefix(std::min(number.find_first_not_of(' '), number.size()));
        number.remove_suffix(number.size() - (number.find_last_not_of(' ') + 1));
        list.emplace_back(number);
        if (comma == std::string_view::npos) {
            return list;
        }
        start = comma + 1;
    }
}

SendStatus WorstStatus(const std::vector<SendStatus>& statuses) {
    const auto weight = [](SendStatus status) {
        return status == SendStatus::Sent ? 0 : status == SendStatus::TempFail ? 1 : 2;
    };
    SendStatus worst = SendStatus::Sent;
    for (const SendStatus status : statuses) {
        if (weight(status) > weight(worst)) {
            worst = status;
        }
    }
    return worst;
}

std::string NumberLine(const std::vector<std::string>& numbers, std::size_t index,
                       std::string_view text) {
    if (numbers.size() < 2) {
        return std::string(text);
    }
    return (numbers[index].empty() ? "(empty number)" : numbers[index]) + ": " + std::string(text);
}

std::vector<std::string> RefusalLines(const std::vector<std::string>& numbers,
                                      const std::vector<Composition>& compositions) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < compositions.size(); ++i) {
        // The message is the same in every composition: its error is said once.
        const std::vector<std::string_view> texts = RefusalTexts(compositions[i]);
        for (std::size_t t = 0; t < texts.size(); ++t) {
            const bool ofMessage = t == 0 && compositions[i].messageError != MessageError::None;
            if (!ofMessage) {
                lines.push_back(NumberLine(numbers, i, texts[t]));
            } else if (i == 0) {
                lines.emplace_back(texts[t]);
            }
        }
    }
    return lines;
}

std::vector<std::string_view> RefusalTexts(const Composition& composition) {
    std::vector<std::string_view> texts;
    if (composition.messageError != MessageError::None) {
        texts.push_back(MessageErrorText(composition.messageError));
    }
    if (const std::string_view text = PhsNoErrorText(composition); !text.empty()) {
        texts.push_back(text);
    }
    return texts;
}

std::string TerminalLine(std::string_view sjisLine) {
    return TerminalText(ShiftJisToUtf8(sjisLine));
}

std::string TerminalText(std::string_view utf8) {
    return CaretNotation(utf8);
}

}  // namespace tarvelo
