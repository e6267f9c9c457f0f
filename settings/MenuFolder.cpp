#include "settings/MenuFolder.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "base/Error.h"

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

void EnterMenuSettingsFolder() {
    const std::optional<std::string> folder =
        MenuFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    if (!folder) {
        throw MenuFolderError("~/.local/share/tarvelo", "HOME が設定されていません");
    }
    std::error_code error;
    std::filesystem::create_directories(*folder, error);
    if (!error && !std::filesystem::is_directory(*folder, error) && !error) {
        error = std::make_error_code(std::errc::not_a_directory);
    }
    // Made or there, it must take writing: the settings files are written at the first start.
    if (!error && (::access(folder->c_str(), W_OK | X_OK) != 0 || ::chdir(folder->c_str()) != 0)) {
        error = std::error_code(errno, std::generic_category());
    }
    if (error) {
        throw MenuFolderError(*folder, error.message());
    }
}

}  // namespace tarvelo
