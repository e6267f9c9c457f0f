#include <windows.h>

#include <filesystem>

#include "platform/Utf16Win32.h"
#include "platform/WorkingFolder.h"

namespace tarvelo {

std::error_code EnterWritableFolder(const std::string& folder) {
    // By its UTF-16 name: a narrow one would be read in the ANSI code page.
    const std::wstring name = WideFromUtf8(folder);
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(name), error);
    if (!error && !std::filesystem::is_directory(std::filesystem::path(name), error) && !error) {
        error = std::make_error_code(std::errc::not_a_directory);
    }
    // A folder's read-only attribute does not stop writing into it on Windows: the first save
    // meets its own error there, if any.
    if (!error && SetCurrentDirectoryW(name.c_str()) == 0) {
        error = std::error_code(static_cast<int>(GetLastError()), std::system_category());
    }
    return error;
}

}  // namespace tarvelo
