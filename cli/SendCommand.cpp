#include "cli/SendCommand.h"

#include <getopt.h>

#include <charconv>
#include <string>

#include "base/Version.h"
#include "platform/ShiftJis.h"

namespace tarvelo {

const std::string_view kSendUsage =
    "Usage: tarvelo-send [OPTIONS] NUMBER [MESSAGE]\n"
    "Sends MESSAGE (or, without it, standard input) to the PHS handset NUMBER through the\n"
    "gateway in tvdomain.ini, with the sender and SMTP server of tvemail.ini.\n"
    "\n"
    "  --dry-run      send nothing; print the handset preview and the mail image\n"
    "  --columns N    width of the preview, 5 to 15 full-width characters (default 12)\n"
    "  --test         test mode: send the text unconverted\n"
    "  --settings DIR read tvemail.ini and tvdomain.ini from DIR (default: the current one)\n"
    "  --verbose      print the SMTP conversation to standard error\n"
    "  --log          append the conversation to TVEMAIL.LOG in the settings folder\n"
    "  --version      print the version and exit\n"
    "  --help         print this help and exit\n"
    "\n"
    "Exit status: 0 sent, 1 message refused, 2 usage or settings error, 3 no connection,\n"
    "4 the server refused a step or the conversation failed.\n";

namespace {

enum Option {
    kDryRunOption = 256,
    kColumnsOption,
    kTestOption,
    kSettingsOption,
    kVerboseOption,
    kLogOption,
    kVersionOption,
    kHelpOption
};

constexpr option kOptions[] = {
    {"dry-run", no_argument, nullptr, kDryRunOption},
    {"columns", required_argument, nullptr, kColumnsOption},
    {"test", no_argument, nullptr, kTestOption},
    {"settings", required_argument, nullptr, kSettingsOption},
    {"verbose", no_argument, nullptr, kVerboseOption},
    {"log", no_argument, nullptr, kLogOption},
    {"version", no_argument, nullptr, kVersionOption},
    {"help", no_argument, nullptr, kHelpOption},
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

// getopt_long leaves in optopt the option's value when an option that takes none was given
// one, the character of an unknown short option, and 0 for an unknown long one.
std::string UnknownOption(std::string_view argument) {
    if (optopt >= kDryRunOption) {
        return TakesNoValue(argument);
    }
    if (optopt > 0) {
        return "unknown option '-" + std::string(1, static_cast<char>(optopt)) + "'";
    }
    return "unknown option '" + std::string(argument) + "'";
}

SendCommand UsageError(std::string error) {
    SendCommand command;
    command.action = SendCommand::Action::UsageError;
    command.error = std::move(error);
    return command;
}

}  // namespace

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
    for (int option; (option = getopt_long(argc, argv.data(), ":", kOptions, nullptr)) != -1;) {
        switch (option) {
            case kDryRunOption:
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
            case kVerboseOption:
                options.verbose = true;
                break;
            case kLogOption:
                options.log = true;
                break;
            case kVersionOption:
                command.action = SendCommand::Action::Version;
                return command;
            case kHelpOption:
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
                return UsageError(UnknownOption(argv[optind - 1]));
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

std::string DryRunText(const Composition& composition, int columns) {
    std::string text;
    for (const std::string& row : PreviewRows(composition.preview, columns)) {
        text.append(ShiftJisToUtf8(row)).push_back('\n');
    }
    text.push_back('\n');
    for (const std::string& line : composition.mailImage) {
        text.append(ShiftJisToUtf8(line)).push_back('\n');
    }
    return text;
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
    std::string shown;
    shown.reserve(utf8.size());
    // What reaches here was converted from code page 932, which has no C1 controls, or is the
    // program's own: only the bytes below 0x20 and DEL need a look.
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            shown.push_back('^');
            shown.push_back(static_cast<char>(byte ^ 0x40));
        } else {
            shown.push_back(c);
        }
    }
    return shown;
}

}  // namespace tarvelo
