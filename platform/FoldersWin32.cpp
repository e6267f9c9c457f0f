#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include "platform/Folders.h"
#include "platform/Utf16Win32.h"

namespace tarvelo {

std::optional<std::string> SystemDataFolder(std::string_view name) {
    wchar_t folder[MAX_PATH] = {};
    if (SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder) != S_OK) {
        return std::nullopt;
    }
    return Utf8FromWide(folder) + "\\" + std::string(name);
}

const std::string_view kMenuFolderHelp = "%APPDATA%\\Tarvelo";

}  // namespace tarvelo
