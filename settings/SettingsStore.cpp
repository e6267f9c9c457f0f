#include "settings/SettingsStore.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "base/Error.h"
#include "settings/SettingsFiles.h"

namespace tarvelo {

namespace {

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
