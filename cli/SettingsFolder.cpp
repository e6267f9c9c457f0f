#include "cli/SettingsFolder.h"

#include "settings/SettingsFiles.h"

namespace tarvelo {

SettingsFolderChoice ChooseSettingsFolder(
    const std::optional<std::string>& given, const std::string& current,
    const std::optional<std::string>& menuFolder,
    const std::function<bool(const std::string& folder)>& holdsSettings) {
    if (given) {
        return {given, {*given}};
    }
    SettingsFolderChoice choice;
    for (const std::optional<std::string>& folder : {std::optional(current), menuFolder}) {
        if (!folder) {
            continue;
        }
        choice.tried.push_back(*folder);
        if (holdsSettings(*folder)) {
            choice.folder = folder;
            break;
        }
    }
    return choice;
}

std::string NoSettingsText(const SettingsFolderChoice& choice) {
    std::string text =
        "no " + std::string(kSettingsFileName) + " or " + std::string(kDomainFileName) + " in ";
    for (std::size_t i = 0; i < choice.tried.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == choice.tried.size() ? " or " : ", ") + choice.tried[i];
    }
    return text;
}

}  // namespace tarvelo
