#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "platform/WorkingFolder.h"

namespace tarvelo {

std::error_code EnterWritableFolder(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!error && !std::filesystem::is_directory(folder, error) && !error) {
        error = std::make_error_code(std::errc::not_a_directory);
    }
    if (!error && (::access(folder.c_str(), W_OK | X_OK) != 0 || ::chdir(folder.c_str()) != 0)) {
        error = std::error_code(errno, std::generic_category());
    }
    return error;
}

}  // namespace tarvelo
