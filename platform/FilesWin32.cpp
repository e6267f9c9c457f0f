// The Win32 API throughout, not the C library: its files open in text mode, which writes every
// CR LF as CR CR LF, and its rename refuses an existing target, so that a save could never
// replace the old file.
#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/Files.h"
#include "platform/Utf16Win32.h"

namespace tarvelo {

namespace {

// A handle that is closed on every way out of a function.
class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { Close(); }
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool Close() {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return handle == INVALID_HANDLE_VALUE || CloseHandle(handle) != 0;
    }

private:
    HANDLE handle_;
};

HANDLE Open(const std::wstring& name, DWORD access, DWORD disposition) {
    return CreateFileW(name.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// A file on a disk, not a console, a pipe or a device such as NUL.
bool IsRegular(const Handle& file) {
    BY_HANDLE_FILE_INFORMATION information{};
    return GetFileType(file.get()) == FILE_TYPE_DISK &&
           GetFileInformationByHandle(file.get(), &information) != 0 &&
           (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool WriteAll(const Handle& file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
        DWORD written = 0;
        if (WriteFile(file.get(), bytes.data(), chunk, &written, nullptr) == 0 || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

// A fresh file beside target; INVALID_HANDLE_VALUE when none can be made.
HANDLE CreateTemporaryBeside(const std::wstring& target, std::wstring& temporaryName) {
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        temporaryName = target + L".tmp" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                        std::to_wstring(attempt);
        const HANDLE file = Open(temporaryName, GENERIC_WRITE, CREATE_NEW);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) {
            return file;
        }
    }
    return INVALID_HANDLE_VALUE;
}

}  // namespace

bool FileMissing(std::string_view fileName) {
    if (GetFileAttributesW(WideFromUtf8(fileName).c_str()) != INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

std::optional<std::string> ReadRegularFile(std::string_view fileName, std::size_t maxBytes) {
    std::string why;
    return ReadRegularFile(fileName, maxBytes, why);
}

std::optional<std::string> ReadRegularFile(std::string_view fileName, std::size_t maxBytes,
                                           std::string& why) {
    const Handle file(Open(WideFromUtf8(fileName), GENERIC_READ, OPEN_EXISTING));
    LARGE_INTEGER size{};
    if (!file.valid()) {
        why = GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND
                  ? "no such file"
                  : "it cannot be opened";
        return std::nullopt;
    }
    if (!IsRegular(file)) {
        why = "not a regular file";
        return std::nullopt;
    }
    const std::string tooLarge = "larger than " + std::to_string(maxBytes) + " bytes";
    if (GetFileSizeEx(file.get(), &size) == 0 ||
        static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
        why = tooLarge;
        return std::nullopt;
    }
    // One byte past the limit is enough to see a file that grew after the size was taken.
    std::string bytes;
    char chunk[4096];
    while (bytes.size() <= maxBytes) {
        DWORD got = 0;
        if (ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) == 0) {
            why = "it cannot be read";
            return std::nullopt;
        }
        if (got == 0) {
            return bytes;
        }
        bytes.append(chunk, got);
    }
    why = tooLarge;
    return std::nullopt;
}

bool ReplaceRegularFile(std::string_view fileName, std::string_view bytes) {
    const std::wstring target = WideFromUtf8(fileName);
    // The file as it stands must take writing: a read-only file or a directory stays.
    {
        const Handle probe(Open(target, GENERIC_WRITE, OPEN_EXISTING));
        if (probe.valid() ? !IsRegular(probe) : GetLastError() != ERROR_FILE_NOT_FOUND) {
            return false;
        }
    }
    std::wstring temporaryName;
    Handle temporary(CreateTemporaryBeside(target, temporaryName));
    if (!temporary.valid()) {
        return false;
    }
    bool written = WriteAll(temporary, bytes) && FlushFileBuffers(temporary.get()) != 0;
    written = temporary.Close() && written;
    written = written && MoveFileExW(temporaryName.c_str(), target.c_str(),
                                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!written) {
        DeleteFileW(temporaryName.c_str());
    }
    return written;
}

AppendResult AppendToRegularFile(std::string_view fileName, std::string_view bytes) {
    const std::wstring name = WideFromUtf8(fileName);
    Handle file(Open(name, GENERIC_WRITE, OPEN_ALWAYS));
    const bool created = file.valid() && GetLastError() != ERROR_ALREADY_EXISTS;
    LARGE_INTEGER oldSize{};
    if (!file.valid() || !IsRegular(file) || GetFileSizeEx(file.get(), &oldSize) == 0 ||
        SetFilePointerEx(file.get(), oldSize, nullptr, FILE_BEGIN) == 0) {
        return AppendResult::OpenFailed;
    }
    const bool written = WriteAll(file, bytes) && FlushFileBuffers(file.get()) != 0;
    if (!written && !created) {
        // A block cut short would leave the next banner in the middle of a line.
        SetFilePointerEx(file.get(), oldSize, nullptr, FILE_BEGIN);
        SetEndOfFile(file.get());
    }
    const bool closed = file.Close();
    if (!written && created) {
        DeleteFileW(name.c_str());
    }
    return written && closed ? AppendResult::Appended : AppendResult::WriteFailed;
}

std::string UnreadableReason(std::string_view fileName, std::size_t maxBytes) {
    const std::wstring name = WideFromUtf8(fileName);
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (GetFileAttributesExW(name.c_str(), GetFileExInfoStandard, &attributes) == 0) {
        return FileMissing(fileName) ? "no such file or directory" : "permission denied";
    }
    if ((attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return "is a directory";
    }
    const unsigned long long size =
        (static_cast<unsigned long long>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
    if (size > maxBytes) {
        return "larger than " + std::to_string(maxBytes) + " bytes";
    }
    const Handle file(Open(name, GENERIC_READ, OPEN_EXISTING));
    if (!file.valid()) {
        return GetLastError() == ERROR_SHARING_VIOLATION ? "used by another program"
                                                         : "permission denied";
    }
    if (!IsRegular(file)) {
        return "not a regular file";
    }
    char byte;
    DWORD got = 0;
    return ReadFile(file.get(), &byte, 1, &got, nullptr) == 0 ? "it cannot be read"
                                                              : "it changed while it was read";
}

}  // namespace tarvelo
