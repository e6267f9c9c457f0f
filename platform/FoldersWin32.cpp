// The W functions throughout: the C library's narrow calls take the ANSI code page, in which
// the folder of a user with a name outside it cannot even be written.
#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include "platform/Folders.h"
#include "platform/Utf16Win32.h"

namespace tarvelo {

namespace {

// The system's text for a Win32 error, in the user's language, without its line end.
std::string Reason(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring reason =
        length != 0 ? std::wstring(text, length) : L"error " + std::to_wstring(error);
    LocalFree(text);
    while (!reason.empty() && (reason.back() == L'\r' || reason.back() == L'\n')) {
        reason.pop_back();
    }
    return Utf8FromWide(reason);
}

// 0 when folder is there as a folder or has been made, with its parents; else the error.
DWORD MakeFolders(const std::wstring& folder) {
    if (CreateDirectoryW(folder.c_str(), nullptr) != 0) {
        return 0;
    }
    DWORD error = GetLastError();
    const std::size_t cut = folder.find_last_of(L"\\/");
    if (error == ERROR_PATH_NOT_FOUND && cut != std::wstring::npos && cut > 0) {
        error = MakeFolders(folder.substr(0, cut));
        if (error == 0) {
            error = CreateDirectoryW(folder.c_str(), nullptr) != 0 ? 0 : GetLastError();
        }
    }
    if (error == ERROR_ALREADY_EXISTS) {
        const DWORD attributes = GetFileAttributesW(folder.c_str());
        error = attributes == INVALID_FILE_ATTRIBUTES          ? GetLastError()
                : (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ? ERROR_DIRECTORY
                                                               : 0;
    }
    return error;
}

}  // namespace

std::optional<std::string> SystemDataFolder(std::string_view name) {
    wchar_t folder[MAX_PATH] = {};
    if (SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder) != S_OK) {
        return std::nullopt;
    }
    return Utf8FromWide(folder) + "\\" + std::string(name);
}

const std::string_view kMenuFolderHelp = "%APPDATA%\\Tarvelo";

// Whether the folder takes writing is left to the first file written there, which names
// itself when it cannot be: Windows' access lists cannot be asked beforehand as simply.
std::optional<std::string> MakeAndEnterFolder(const std::string& folder) {
    const std::wstring wide = WideFromUtf8(folder);
    DWORD error = MakeFolders(wide);
    if (error == 0 && SetCurrentDirectoryW(wide.c_str()) == 0) {
        error = GetLastError();
    }
    if (error != 0) {
        return Reason(error);
    }
    return std::nullopt;
}

}  // namespace tarvelo
