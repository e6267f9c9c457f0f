// The Win32 side of the one error path (ui/ErrorPath.h): RunHandler catches, this shows.
#include <windows.h>

#include "ui/ErrorPath.h"
#include "ui/win32/Form.h"

namespace tarvelo {

void ShowErrorBox(const std::string& text) {
    win32::ShowMessageBox(GetActiveWindow(), text, MB_OK | MB_ICONERROR);
}

}  // namespace tarvelo
