// tarvelo-send: reads the arguments, the message and the settings, prints and sends; every rule
// it follows is a function of tarvelo_cli or the core.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/Error.h"
#include "cli/SendCommand.h"
#include "cli/SendMail.h"
#include "cli/SettingsFolder.h"
#include "compose/Composition.h"
#include "mail/MailAssembly.h"
#include "mail/SubmissionTarget.h"
#include "platform/ConsoleText.h"
#include "platform/Files.h"
#include "platform/PasswordCommand.h"
#include "platform/SecretStore.h"
#include "platform/ShiftJis.h"
#include "platform/StandardStreams.h"
#include "settings/LineList.h"
#include "settings/LogFile.h"
#include "settings/MenuFolder.h"
#include "settings/SettingsFiles.h"
#include "settings/SettingsStore.h"

namespace {

using namespace tarvelo;

int ExitStatus(SendStatus status) {
    return static_cast<int>(status);
}

// A system's message as the rest of a line: "permission denied".
std::string Lowered(std::string text) {
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z' &&
        (text.size() < 2 || !(text[1] >= 'A' && text[1] <= 'Z'))) {
        text[0] = static_cast<char>(text[0] - 'A' + 'a');
    }
    return text;
}

std::string Reason(int errnum) {
    return Lowered(std::strerror(errnum));
}

// Standard output and error in the user's encoding. A write that fails is remembered, not
// fatal: a closed pipe must not end a sending halfway, and the exit status says it.
class Console {
public:
    explicit Console(std::string encoding) : encoding_(std::move(encoding)) {}

    // utf8: what standard output is for (help, version, the dry run's text).
    void Out(std::string_view utf8) {
        if (!Write(stdout, Utf8ToConsole(utf8, encoding_)) && !outLost_) {
            outLost_ = true;
            Complain("cannot write standard output: " + Reason(errno));
        }
    }
    bool OutLost() const { return outLost_; }

    // One line on standard error after the program's name; utf8 may quote a server or a file.
    void Complain(std::string_view utf8) {
        Err(Utf8ToConsole("tarvelo-send: " + TerminalText(utf8) + "\n", encoding_));
    }
    // A line that is in the user's encoding already: the program's ASCII around the arguments
    // as they were written.
    void ComplainAsGiven(std::string_view bytes) {
        Err("tarvelo-send: " + TerminalText(bytes) + "\n");
    }
    void Err(std::string_view bytes) { Write(stderr, bytes); }

    const std::string& Encoding() const { return encoding_; }

private:
    static bool Write(std::FILE* stream, std::string_view bytes) {
        return std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size() &&
               std::fflush(stream) == 0;
    }

    std::string encoding_;
    bool outLost_ = false;
};

// Standard input, up to one byte more than any message could be. errnum: set when reading
// failed.
std::string ReadStandardInput(int& errnum) {
    std::string input;
    char chunk[4096];
    errnum = 0;
    while (input.size() <= kMaxInputBytes) {
        const std::size_t got = std::fread(chunk, 1, sizeof chunk, stdin);
        input.append(chunk, got);
        if (got < sizeof chunk) {
            errnum = std::ferror(stdin) ? errno : 0;
            break;
        }
    }
    return input;
}

bool HoldsSettings(const std::string& folder) {
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::path(folder) / kSettingsFileName, ignored) ||
           std::filesystem::exists(std::filesystem::path(folder) / kDomainFileName, ignored);
}

// What the window's texts leave to the eye of its user: where a file is missing, why it could
// not be read, which file is short of lines.
std::string SettingsDetail(const Error& error) {
    const std::string folder = std::filesystem::current_path().string();
    const std::string& name = error.Subject();
    switch (error.Kind()) {
        case ErrorKind::ListIndex:
            return " (" + std::string(kSettingsFileName) + " holds fewer than three lines)";
        case ErrorKind::FileOpen:
            if (name != kDomainFileName && name != kSettingsFileName && name != kSubmitFileName) {
                break;
            }
            if (FileMissing(name)) {
                return " (there is no " + name + " in " + folder + ")";
            }
            return " (could not read " + folder + "/" + name + ": " +
                   UnreadableReason(name, kMaxListFileBytes) + ")";
        case ErrorKind::Other:
            break;
    }
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    // Before any file or socket is opened: with standard error closed, the socket would get
    // descriptor 2 and --verbose would write the log into the connection.
    if (!OpenStandardStreams()) {
        return ExitStatus(SendStatus::IoError);
    }
    // A closed standard output or error gives a failed write, which is reported, rather than
    // a signal that would end a sending between two commands.
    StartConsole();
    Console console(ConsoleEncoding());

    const SendCommand command = ParseSendArguments(ProgramArguments(argc, argv));
    switch (command.action) {
        case SendCommand::Action::Help:
            console.Out(kSendUsage);
            return ExitStatus(console.OutLost() ? SendStatus::IoError : SendStatus::Sent);
        case SendCommand::Action::Version:
            console.Out(SendVersionText());
            return ExitStatus(console.OutLost() ? SendStatus::IoError : SendStatus::Sent);
        case SendCommand::Action::UsageError:
            console.ComplainAsGiven(command.error);
            console.Err(Utf8ToConsole(kSendUsage, console.Encoding()));
            return ExitStatus(SendStatus::Usage);
        case SendCommand::Action::Send:
            break;
    }
    const SendOptions& options = command.options;
    const std::string& encoding = console.Encoding();

    std::string given;
    if (options.message) {
        given = *options.message;
    } else {
        int errnum = 0;
        given = ReadStandardInput(errnum);
        if (errnum != 0) {
            console.Complain("cannot read standard input: " + Reason(errnum));
            return ExitStatus(SendStatus::IoError);
        }
        if (given.size() > kMaxInputBytes) {
            console.Complain("standard input is longer than any message can be (more than " +
                             std::to_string(kMaxInputBytes) + " bytes)");
            return ExitStatus(SendStatus::DataError);
        }
        given = MessageFromInput(given);
    }
    const std::optional<std::string> message = ConsoleToUtf8(given, encoding);
    if (!message) {
        console.Complain((options.message ? "the message" : "standard input") +
                         std::string(" is not valid ") + encoding);
        return ExitStatus(SendStatus::DataError);
    }
    const std::optional<std::string> numberList = ConsoleToUtf8(options.number, encoding);
    if (!numberList) {
        console.Complain("the handset number is not valid " + encoding);
        return ExitStatus(SendStatus::DataError);
    }
    const std::vector<std::string> numbers = SplitNumbers(*numberList);

    std::error_code noCurrent;
    const SettingsFolderChoice folder =
        ChooseSettingsFolder(options.settingsDir, std::filesystem::current_path(noCurrent).string(),
                             SystemMenuFolder(), HoldsSettings);
    if (!folder.folder) {
        console.Complain(NoSettingsText(folder));
        return ExitStatus(SendStatus::Config);
    }
    // The settings folder is the working directory from here on, as it is the window's.
    std::error_code entered;
    std::filesystem::current_path(std::filesystem::u8path(*folder.folder), entered);
    if (entered) {
        console.Complain("cannot enter the settings folder " + *folder.folder + ": " +
                         Lowered(entered.message()));
        return ExitStatus(SendStatus::Config);
    }
    Settings settings;
    SubmissionSettings submission;
    try {
        settings = ReadSettings();
        submission = Overridden(ReadSubmission(), options);
    } catch (const Error& error) {
        console.Complain(std::string(error.what()) + SettingsDetail(error));
        return ExitStatus(SendStatus::Config);
    }

    const std::string sjisMessage = Utf8TextToShiftJis(*message);
    std::vector<Composition> compositions;
    for (const std::string& number : numbers) {
        compositions.push_back(Compose({.message = sjisMessage,
                                        .phsNo = Utf8ToShiftJis(number),
                                        .resNo = settings.resNo,
                                        .testMode = options.testMode}));
    }
    if (options.dryRun) {
        console.Out(DryRunText(compositions, options.columns));
    }
    const std::vector<std::string> refusals = RefusalLines(numbers, compositions);
    for (const std::string& refusal : refusals) {
        console.Complain(refusal);
    }
    if (!refusals.empty()) {
        return ExitStatus(SendStatus::DataError);
    }
    if (options.dryRun) {
        return ExitStatus(console.OutLost() ? SendStatus::IoError : SendStatus::Sent);
    }
    if (const std::optional<std::string> unusable = UnusableSettings(settings)) {
        console.Complain(*unusable);
        return ExitStatus(SendStatus::Config);
    }
    // Known before connecting, and before a password is asked for: where to connect, and
    // that a login goes out only inside TLS.
    SubmissionTarget target;
    try {
        target = ResolveSubmission(settings.smtp, submission);
        RefuseLoginWithoutTls(settings.smtp, submission);
    } catch (const Error& error) {
        console.Complain(error.what());
        return ExitStatus(SendStatus::Config);
    }
    const std::string& gateway = settings.domains.front();
    MailRequest request{.target = std::move(target),
                        .settings = {.userName = settings.userName, .gatewayDomain = gateway},
                        .mails = {}};
    const std::string date = MailDateText();
    for (const Composition& composition : compositions) {
        request.mails.push_back(
            AssembleMailLines(date, settings.userName, gateway, composition.mailImage));
    }
    // The one place where the password is taken; asked for only when there is a login.
    if (!submission.login.empty() && !options.passwordCommand.empty()) {
        std::string error;
        std::optional<SecretText> password = PasswordFromCommand(options.passwordCommand, error);
        if (!password) {
            console.Complain(error);
            return ExitStatus(SendStatus::Config);
        }
        request.password = std::move(*password);
    } else if (!submission.login.empty()) {
        StoredPassword stored = LookUpPassword(SecretServerName(settings.smtp), submission.login);
        if (stored.result != SecretLookup::Found) {
            console.Complain("no password for the login " + submission.login + ": " +
                             std::string(NoPasswordReason(stored.result)) +
                             "; give --password-command");
            return ExitStatus(SendStatus::Config);
        }
        request.password = std::move(stored.password);
    }
    if (!submission.login.empty()) {
        try {
            CheckPassword(request.password.view());
        } catch (const Error& error) {
            console.Complain(error.what());
            return ExitStatus(SendStatus::Config);
        }
    }
    LineList log;
    std::vector<SendResult> results;
    try {
        results = SendMails(request, [&](std::string_view line) {
            log.emplace_back(line);
            if (options.verbose) {
                console.Err(Utf8ToConsole(TerminalLine(line) + "\n", encoding));
            }
        });
    } catch (const Error& error) {
        // A CA file that cannot be used, found before anything was connected.
        console.Complain(error.what());
        return ExitStatus(SendStatus::Config);
    }
    std::vector<SendStatus> statuses;
    for (std::size_t i = 0; i < results.size(); ++i) {
        statuses.push_back(results[i].status);
        if (results[i].status != SendStatus::Sent) {
            console.Complain(NumberLine(numbers, i, results[i].failure));
        }
    }
    // A connection never made leaves the file alone: its reason is in the error line.
    if (options.log && !log.empty()) {
        try {
            SaveLogBlock(kLogFileName, log);
        } catch (const Error& error) {
            // The sending's status stands: a script must know whether the mail went out.
            console.Complain(error.what());
        }
    }
    // Likewise when --verbose could not show the conversation: the status is the mails'.
    return ExitStatus(WorstStatus(statuses));
}
