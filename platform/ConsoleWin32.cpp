#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <string>

#include "platform/Console.h"
#include "platform/Utf16Win32.h"

namespace tarvelo {

std::vector<std::string> ProgramArguments(int, char**) {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> utf8;
    for (int index = 1; arguments != nullptr && index < count; ++index) {
        utf8.push_back(Utf8FromWide(arguments[index]));
    }
    LocalFree(arguments);
    return utf8;
}

std::string ReadStandardInput() {
    // ReadFile, not the C library, whose text mode would drop every CR and end at a Ctrl-Z.
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    std::string bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(input, chunk, sizeof chunk, &got, nullptr) != 0 && got > 0) {
        bytes.append(chunk, got);
    }
    return bytes;
}

void WriteText(OutputStream stream, std::string_view utf8) {
    const HANDLE output =
        GetStdHandle(stream == OutputStream::Standard ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    DWORD mode = 0;
    if (GetConsoleMode(output, &mode) != 0) {
        const std::wstring wide = WideFromUtf8(utf8);
        DWORD written = 0;
        WriteConsoleW(output, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    while (!utf8.empty()) {
        DWORD written = 0;
        if (WriteFile(output, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr) ==
                0 ||
            written == 0) {
            return;
        }
        utf8.remove_prefix(written);
    }
}

}  // namespace tarvelo
