// tarvelo-send: reads the arguments, the message and the settings, prints and sends; every rule
// it follows is a core function.
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "base/Error.h"
#include "cli/SendCommand.h"
#include "cli/SendMail.h"
#include "compose/Composition.h"
#include "mail/MailAssembly.h"
#include "platform/Console.h"
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
    WriteText(OutputStream::Error, "tarvelo-send: " + TerminalText(text) + '\n');
}

std::string Utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
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
                   Utf8(std::filesystem::current_path()) + ")";
        }
    }
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    const SendCommand command = ParseSendArguments(ProgramArguments(argc, argv));
    switch (command.action) {
        case SendCommand::Action::Help:
            WriteText(OutputStream::Standard, kSendUsage);
            return Exit(SendStatus::Sent);
        case SendCommand::Action::Version:
            WriteText(OutputStream::Standard, SendVersionText());
            return Exit(SendStatus::Sent);
        case SendCommand::Action::UsageError:
            Complain(command.error);
            WriteText(OutputStream::Error, kSendUsage);
            return Exit(SendStatus::Usage);
        case SendCommand::Action::Send:
            break;
    }
    const SendOptions& options = command.options;
    const std::string message =
        options.message ? *options.message : MessageFromInput(ReadStandardInput());

    // The settings folder is the working directory from here on, as it is the window's.
    std::error_code entered;
    std::filesystem::current_path(
        std::u8string(options.settingsDir.begin(), options.settingsDir.end()), entered);
    if (entered) {
        Complain("cannot enter the settings folder " + options.settingsDir + ": " +
                 entered.message());
        return Exit(SendStatus::Config);
    }
    Settings settings;
    try {
        settings = ReadSettings();
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
        WriteText(OutputStream::Standard, DryRunText(composition, options.columns));
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
    // The first domain is the gateway in use; an empty list gives an empty one, as in the window.
    const std::string gateway = settings.domains.empty() ? "" : settings.domains.front();
    const MailRequest request{.server = settings.smtp,
                              .settings = {.userName = settings.userName, .gatewayDomain = gateway},
                              .mailLines = AssembleMailLines(MailDateText(), settings.userName,
                                                             gateway, composition.mailImage)};
    LineList log;
    const SendResult result = SendMail(request, [&](std::string_view line) {
        log.emplace_back(line);
        if (options.verbose) {
            WriteText(OutputStream::Error, TerminalLine(line) + '\n');
        }
    });
    if (result.status != SendStatus::Sent) {
        Complain(result.failure);
    }
    // The window's log holds nothing of a connection that was never made; nor does the file.
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
