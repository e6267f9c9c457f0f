// tarvelo.exe: start-up of the Win32 windows. Creates the five windows in their order, the
// settings dialog loading (and, where missing, writing) both settings files, then runs the
// message loop until the main window closes.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <exception>
#include <memory>

#include "app/win32/TvMain.h"
#include "app/win32/about.h"
#include "mail/win32/Send.h"
#include "platform/StandardStreams.h"
#include "settings/win32/DomainE.h"
#include "settings/win32/setting.h"
#include "ui/ErrorPath.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
    if (!tarvelo::OpenStandardStreams()) {
        return 1;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
    try {
        const auto form1 = std::make_unique<TForm1>();
        Form1 = form1.get();
        const auto setDialog = std::make_unique<TSetDialog>(Form1->hwnd);
        SetDialog = setDialog.get();
        const auto domainEdit = std::make_unique<TDomainEdit>(Form1->hwnd);
        DomainEdit = domainEdit.get();
        const auto aboutBox = std::make_unique<TAboutBox>(Form1->hwnd);
        AboutBox = aboutBox.get();
        const auto sendDlg = std::make_unique<TSendDlg>(Form1->hwnd);
        SendDlg = sendDlg.get();
        ShowWindow(Form1->hwnd, show);
        UpdateWindow(Form1->hwnd);
        const int status = tarvelo::win32::RunMessageLoop(Form1->hwnd);
        // The main window is gone; the others go with their objects.
        Form1->hwnd = nullptr;
        return status;
    } catch (const std::exception& error) {
        tarvelo::ShowErrorBox(error.what());
        return 1;
    }
}
