#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "platform/Folders.h"

namespace tarvelo {

std::optional<std::string> SystemDataFolder(std::string_view) {
    return std::nullopt;
}

const std::string_view kMenuFolderHelp =
    "$XDG_DATA_HOME/tarvelo (~/.local/share/tarvelo by default)";

std::optional<std::string> MakeAndEnterFolder(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!error && !std::filesystem::is_directory(folder, error) && !error) {
        error = std::make_error_code(std::errc::not_a_directory);
    }
    // Made or there, it must take writing: the settings files are written at the first start.
    if (!error && (::access(folder.c_str(), W_OK | X_OK) != 0 || ::chdir(folder.c_str()) != 0)) {
        error = std::error_code(errno, std::generic_category());
    }
    if (error) {
        return error.message();
    }
    return std::nullopt;
}

}  // namespace tarvelo
