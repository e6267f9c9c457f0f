// Where tarvelo-send finds the settings when it is not told: the folder it is run in, as the
// window would use it, or else the one the desktop menu gives the window.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tarvelo {

struct SettingsFolderChoice {
    std::optional<std::string> folder;  // none: no folder to try holds either settings file
    std::vector<std::string> tried;     // in the order tried, for the error when none does
};

// given: --settings DIR, which is taken whatever it holds. Otherwise current (the working
// directory) when it holds either settings file, then menuFolder likewise. holdsSettings says
// whether a folder holds "tvemail.ini" or "tvdomain.ini".
SettingsFolderChoice ChooseSettingsFolder(
    const std::optional<std::string>& given, const std::string& current,
    const std::optional<std::string>& menuFolder,
    const std::function<bool(const std::string& folder)>& holdsSettings);

// "no tvemail.ini or tvdomain.ini in A or B": the error for a choice without a folder.
std::string NoSettingsText(const SettingsFolderChoice& choice);

}  // namespace tarvelo
