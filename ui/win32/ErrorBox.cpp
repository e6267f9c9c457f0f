// The Win32 side of the one error path (ui/ErrorPath.h): RunHandler catches, this shows.
#include <windows.h>

#include "base/Version.h"
#include "platform/Utf16Win32.h"
#include "ui/ErrorPath.h"

namespace tarvelo {

void ShowErrorBox(const std::string& text) {
    MessageBoxW(GetActiveWindow(), WideFromUtf8(text).c_str(),
                WideFromUtf8(kApplicationTitle).c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace tarvelo
