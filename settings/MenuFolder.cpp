#include "settings/MenuFolder.h"

#include <cstdlib>
#include <system_error>

#include "base/Error.h"
#include "platform/Folders.h"
#include "platform/WorkingFolder.h"

namespace tarvelo {

std::optional<std::string> MenuFolder(const char* xdgDataHome, const char* home) {
    if (xdgDataHome != nullptr && xdgDataHome[0] == '/') {
        return std::string(xdgDataHome) + "/tarvelo";
    }
    if (home != nullptr && home[0] != '\0') {
        return std::string(home) + "/.local/share/tarvelo";
    }
    return std::nullopt;
}

std::optional<std::string> SystemMenuFolder() {
    if (std::optional<std::string> folder = SystemDataFolder("Tarvelo")) {
        return folder;
    }
    return MenuFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

void EnterMenuSettingsFolder() {
    const std::optional<std::string> folder = SystemMenuFolder();
    if (!folder) {
        throw MenuFolderError("~/.local/share/tarvelo", "HOME が設定されていません");
    }
    const std::error_code error = EnterWritableFolder(*folder);
    if (error) {
        throw MenuFolderError(*folder, error.message());
    }
}

}  // namespace tarvelo
