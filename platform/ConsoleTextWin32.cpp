// On Windows the program's side of the console is UTF-8 throughout: the arguments come from the
// UTF-16 command line, the console is switched to UTF-8 while the program runs, and standard
// input and output are binary, so that a file or a pipe gets the same bytes as on Linux.
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/ConsoleText.h"
#include "platform/Utf16Win32.h"
#include "platform/Utf8.h"

namespace tarvelo {

namespace {

UINT previousOutputCodePage = 0;

void RestoreConsole() {
    SetConsoleOutputCP(previousOutputCodePage);
}

bool IsUtf8(std::string_view bytes) {
    return bytes.empty() || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                                static_cast<int>(bytes.size()), nullptr, 0) > 0;
}

}  // namespace

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

void StartConsole() {
    // Text mode would turn every LF into CR LF on the way out, and end input at a Ctrl-Z.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    previousOutputCodePage = GetConsoleOutputCP();
    // A Japanese console shows code page 932; the messages are UTF-8, and the console shows
    // them as what they are once it reads UTF-8. It gets its own code page back at the end.
    if (previousOutputCodePage != 0 && previousOutputCodePage != CP_UTF8 &&
        SetConsoleOutputCP(CP_UTF8) != 0) {
        std::atexit(RestoreConsole);
    }
}

std::string ConsoleEncoding() {
    return "UTF-8";
}

std::optional<std::string> ConsoleToUtf8(std::string_view bytes, const std::string&) {
    if (!IsUtf8(bytes)) {
        return std::nullopt;
    }
    return std::string(bytes);
}

std::string Utf8ToConsole(std::string_view utf8, const std::string&) {
    std::string out;
    while (!utf8.empty()) {
        const std::size_t length =
            std::min(utf8.size(), Utf8SequenceLength(static_cast<unsigned char>(utf8[0])));
        const std::string_view character = utf8.substr(0, length);
        out.append(IsUtf8(character) ? character : "?");
        utf8.remove_prefix(length);
    }
    return out;
}

}  // namespace tarvelo
