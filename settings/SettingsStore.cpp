#include "settings/SettingsStore.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

#include "base/Error.h"
#include "settings/SettingsFiles.h"
#include "ui/Texts.h"

namespace tarvelo {

namespace {

// The lines of "tvsubmit.ini", in the file's order.
enum SubmitLine : std::size_t { kPortLine, kSecurityLine, kLoginLine, kCaFileLine, kSubmitLines };

LineList LoadOrCreate(std::string_view fileName, LineList defaults, FileContent& content) {
    if (!FileMissing(fileName)) {
        content = ReadListFileBytes(fileName);
        return ParseLines(*content);
    }
    WriteLineList(fileName, defaults);
    content = FormatLines(defaults);
    return defaults;
}

}  // namespace

LineList LoadOrCreateDomains(FileContent& content) {
    return LoadOrCreate(kDomainFileName, LineList(kDefaultDomains.begin(), kDefaultDomains.end()),
                        content);
}

LineList LoadOrCreateSettingsLines(FileContent& content) {
    return LoadOrCreate(kSettingsFileName,
                        {std::string(kDefaultSender), std::string(kDefaultSmtpServer),
                         std::string(kDefaultReplyNumber)},
                        content);
}

bool ChangedOnDisk(std::string_view fileName, const FileContent& loaded) {
    if (FileMissing(fileName)) {
        return loaded.has_value();
    }
    try {
        return ReadListFileBytes(fileName) != loaded;
    } catch (const Error&) {
        return false;
    }
}

void CheckCommandSetting(CommandSetting setting, std::string_view value) {
    const bool changesCommand = std::any_of(value.begin(), value.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte <= 0x20 || byte == 0x7F || c == '<' || c == '>';
    });
    if (!changesCommand) {
        return;
    }
    switch (setting) {
        case CommandSetting::MailAddress:
            throw CommandCharacterError(texts::kMailAddressLabel);
        case CommandSetting::SmtpServer:
            throw CommandCharacterError(texts::kSmtpServerLabel);
        case CommandSetting::GatewayDomain:
            throw CommandCharacterError(texts::kDomainLabel);
    }
}

Settings ReadSettings() {
    Settings settings;
    settings.domains = ReadLineList(kDomainFileName);
    const LineList lines = ReadLineList(kSettingsFileName);
    settings.userName = LineAt(lines, 0);
    settings.smtp = LineAt(lines, 1);
    settings.resNo = LineAt(lines, 2);
    CheckCommandSetting(CommandSetting::MailAddress, settings.userName);
    CheckCommandSetting(CommandSetting::SmtpServer, settings.smtp);
    if (!settings.domains.empty()) {
        CheckCommandSetting(CommandSetting::GatewayDomain, settings.domains.front());
    }
    return settings;
}

SubmissionSettings ReadSubmission() {
    if (FileMissing(kSubmitFileName)) {
        return {};
    }
    const std::string bytes = ReadListFileBytes(kSubmitFileName);
    // Invisible in every editor that writes one, and it would be read as part of the port.
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        throw ByteOrderMarkError(kSubmitFileName);
    }
    LineList lines = ParseLines(bytes);
    // A file cut short by hand leaves the settings of its missing lines unset.
    lines.resize(std::max<std::size_t>(lines.size(), kSubmitLines));

    SubmissionSettings settings;
    if (const std::string& port = lines[kPortLine]; !port.empty()) {
        settings.port = PortFromText(port);
        if (!settings.port) {
            throw SettingValueError(kSubmitFileName, texts::kPortLabel, port, texts::kPortExpected);
        }
    }
    if (const std::string& word = lines[kSecurityLine]; !word.empty()) {
        settings.security = SecurityFromWord(word);
        if (!settings.security) {
            throw SettingValueError(kSubmitFileName, texts::kSecurityLabel, word,
                                    texts::kSecurityExpected);
        }
    }
    if (lines[kLoginLine].find('\0') != std::string::npos) {
        throw LoginNulError(kSubmitFileName);
    }
    settings.login = std::move(lines[kLoginLine]);
    settings.caFile = std::move(lines[kCaFileLine]);
    return settings;
}

void WriteSubmission(const SubmissionSettings& settings) {
    if (IsClassic(settings) && FileMissing(kSubmitFileName)) {
        return;
    }
    LineList lines(kSubmitLines);
    if (settings.port) {
        lines[kPortLine] = std::to_string(*settings.port);
    }
    if (settings.security) {
        lines[kSecurityLine] = SecurityWord(*settings.security);
    }
    lines[kLoginLine] = settings.login;
    lines[kCaFileLine] = settings.caFile;
    WriteLineList(kSubmitFileName, lines);
}

void PromoteDomain(LineList& domains, std::size_t selected) {
    if (selected == 0 || selected >= domains.size()) {
        return;
    }
    // A swap, not a move: every other entry keeps its place.
    std::swap(domains[0], domains[selected]);
    WriteLineList(kDomainFileName, domains);
}

void RefusePlaceholders(std::string_view sender, std::string_view gatewayDomain) {
    if (std::find(kDefaultDomains.begin(), kDefaultDomains.end(), gatewayDomain) !=
        kDefaultDomains.end()) {
        throw PlaceholderError(sender == kDefaultSender);
    }
}

}  // namespace tarvelo
