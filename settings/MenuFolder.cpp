#include "settings/MenuFolder.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "base/Error.h"

namespace tarvelo {

MenuFolder MenuSettingsFolder() {
    std::string data;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && xdg[0] == '/') {
        data = xdg;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
        data = std::string(home) + "/.local/share";
    } else {
        return {.path = "~/.local/share/tarvelo", .failure = "HOME が設定されていません"};
    }
    MenuFolder folder{.path = data + "/tarvelo", .failure = {}};
    std::error_code error;
    std::filesystem::create_directories(folder.path, error);
    if (!error && !std::filesystem::is_directory(folder.path, error) && !error) {
        error = std::make_error_code(std::errc::not_a_directory);
    }
    if (!error && ::access(folder.path.c_str(), W_OK | X_OK) != 0) {
        error = std::error_code(errno, std::generic_category());
    }
    if (error) {
        folder.failure = error.message();
    }
    return folder;
}

void EnterMenuSettingsFolder() {
    MenuFolder folder = MenuSettingsFolder();
    if (folder.failure.empty() && ::chdir(folder.path.c_str()) != 0) {
        folder.failure = std::error_code(errno, std::generic_category()).message();
    }
    if (!folder.failure.empty()) {
        throw MenuFolderError(folder.path, folder.failure);
    }
}

}  // namespace tarvelo
