// tarvelo-send: reads the arguments, the message and the settings, prints and sends; every rule
// it follows is a core function.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "base/Error.h"
#include "cli/PasswordCommand.h"
#include "cli/SendCommand.h"
#include "cli/SendMail.h"
#include "compose/Composition.h"
#include "mail/MailAssembly.h"
#include "platform/ShiftJis.h"
#include "settings/LineList.h"
#include "settings/LogFile.h"
#include "settings/SettingsFiles.h"
#include "settings/SettingsStore.h"

namespace {

using namespace tarvelo;

int Exit(SendStatus status) {
    return static_cast<int>(status);
}

void Complain(std::string_view text) {
    std::cerr << "tarvelo-send: " << TerminalText(text) << '\n';
}

std::string ReadStandardInput() {
    std::string input;
    char chunk[4096];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, stdin)) > 0;) {
        input.append(chunk, got);
    }
    return input;
}

// What the window's texts leave to the eye of its user: the folder of a missing file, which
// file is short of lines.
std::string SettingsDetail(const Error& error) {
    if (std::string_view(error.what()) == ListIndexError().what()) {
        return " (" + std::string(kSettingsFileName) + " holds fewer than three lines)";
    }
    for (const std::string_view name : {kDomainFileName, kSettingsFileName}) {
        if (FileMissing(name)) {
            return " (there is no " + std::string(name) + " in " +
                   std::filesystem::current_path().string() + ")";
        }
    }
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    const SendCommand command = ParseSendArguments(std::vector<std::string>(argv + 1, argv + argc));
    switch (command.action) {
        case SendCommand::Action::Help:
            std::cout << kSendUsage;
            return Exit(SendStatus::Sent);
        case SendCommand::Action::Version:
            std::cout << SendVersionText();
            return Exit(SendStatus::Sent);
        case SendCommand::Action::UsageError:
            Complain(command.error);
            std::cerr << kSendUsage;
            return Exit(SendStatus::Usage);
        case SendCommand::Action::Send:
            break;
    }
    const SendOptions& options = command.options;
    const std::string message =
        options.message ? *options.message : MessageFromInput(ReadStandardInput());

    // The settings folder is the working directory from here on, as it is the window's.
    if (::chdir(options.settingsDir.c_str()) != 0) {
        Complain("cannot enter the settings folder " + options.settingsDir + ": " +
                 std::strerror(errno));
        return Exit(SendStatus::Config);
    }
    Settings settings;
    SubmissionSettings submission;
    try {
        settings = ReadSettings();
        submission = Overridden(ReadSubmission(), options);
    } catch (const Error& error) {
        Complain(std::string(error.what()) + SettingsDetail(error));
        return Exit(SendStatus::Config);
    }

    const std::string sjisMessage = Utf8TextToShiftJis(message);
    const std::string phsNo = Utf8ToShiftJis(options.number);
    const Composition composition = Compose({.message = sjisMessage,
                                             .phsNo = phsNo,
                                             .resNo = settings.resNo,
                                             .testMode = options.testMode});
    if (options.dryRun) {
        std::cout << DryRunText(composition, options.columns);
    }
    const std::vector<std::string_view> refusals = RefusalTexts(composition);
    for (const std::string_view refusal : refusals) {
        Complain(refusal);
    }
    if (!refusals.empty()) {
        return Exit(SendStatus::DataError);
    }
    if (options.dryRun) {
        return Exit(SendStatus::Sent);
    }
    // The one place where the password is taken; asked for only when there is a login.
    std::string password;
    if (!submission.login.empty() && !options.passwordCommand.empty()) {
        std::string error;
        std::optional<std::string> given = PasswordFromCommand(options.passwordCommand, error);
        if (!given) {
            Complain(error);
            return Exit(SendStatus::Config);
        }
        password = std::move(*given);
    }
    // The first domain is the gateway in use; an empty list gives an empty one, as in the window.
    const std::string gateway = settings.domains.empty() ? "" : settings.domains.front();
    const MailRequest request{
        .server = settings.smtp,
        .settings = {.userName = settings.userName, .gatewayDomain = gateway},
        .mails = {AssembleMailLines(MailDateText(), settings.userName, gateway,
                                    composition.mailImage)},
        .submission = submission,
        .password = std::move(password),
    };
    LineList log;
    const SendResult result = SendMail(request, [&](std::string_view line) {
        log.emplace_back(line);
        if (options.verbose) {
            std::cerr << TerminalLine(line) << '\n';
        }
    });
    if (result.status != SendStatus::Sent) {
        Complain(result.failure);
    }
    // A connection never made leaves the file alone: its reason is in the error line.
    if (options.log && !log.empty()) {
        try {
            SaveLogBlock(kLogFileName, log);
        } catch (const Error& error) {
            // The sending's status stands: a script must know whether the mail went out.
            Complain(error.what());
        }
    }
    return Exit(result.status);
}
