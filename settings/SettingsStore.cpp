#include "settings/SettingsStore.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

#include "base/Error.h"
#include "settings/SettingsFiles.h"

namespace tarvelo {

namespace {

// The lines of "tvsubmit.ini", in the file's order.
enum SubmitLine : std::size_t { kPortLine, kSecurityLine, kLoginLine, kCaFileLine, kSubmitLines };

LineList LoadOrCreate(std::string_view fileName, LineList defaults) {
    if (!FileMissing(fileName)) {
        return ReadLineList(fileName);
    }
    WriteLineList(fileName, defaults);
    return defaults;
}

}  // namespace

LineList LoadOrCreateDomains() {
    return LoadOrCreate(kDomainFileName, LineList(kDefaultDomains.begin(), kDefaultDomains.end()));
}

LineList LoadOrCreateSettingsLines() {
    return LoadOrCreate(kSettingsFileName,
                        {std::string(kDefaultSender), std::string(kDefaultSmtpServer),
                         std::string(kDefaultReplyNumber)});
}

Settings ReadSettings() {
    Settings settings;
    settings.domains = ReadLineList(kDomainFileName);
    const LineList lines = ReadLineList(kSettingsFileName);
    settings.userName = LineAt(lines, 0);
    settings.smtp = LineAt(lines, 1);
    settings.resNo = LineAt(lines, 2);
    return settings;
}

SubmissionSettings ReadSubmission() {
    if (FileMissing(kSubmitFileName)) {
        return {};
    }
    LineList lines = ReadLineList(kSubmitFileName);
    // A file cut short by hand leaves the settings of its missing lines unset.
    lines.resize(std::max<std::size_t>(lines.size(), kSubmitLines));

    SubmissionSettings settings;
    if (const std::string& port = lines[kPortLine]; !port.empty()) {
        settings.port = PortFromText(port);
        if (!settings.port) {
            throw SettingValueError(kSubmitFileName, "ポート番号", port, "1～65535 の数");
        }
    }
    if (const std::string& word = lines[kSecurityLine]; !word.empty()) {
        settings.security = SecurityFromWord(word);
        if (!settings.security) {
            throw SettingValueError(kSubmitFileName, "暗号化", word,
                                    "none、starttls、tls のどれか");
        }
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

}  // namespace tarvelo
