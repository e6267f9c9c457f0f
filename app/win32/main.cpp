// tarvelo.exe: start-up of the Win32 windows. Reads the command line (--menu: into the menu's
// folder first), creates the five windows in their order, the settings dialog loading (and,
// where missing, writing) both settings files, then runs the message loop until the main
// window closes.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <shellapi.h>

#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/CommandLine.h"
#include "app/win32/TvMain.h"
#include "app/win32/about.h"
#include "mail/win32/Send.h"
#include "platform/StandardStreams.h"
#include "platform/Utf16Win32.h"
#include "settings/MenuFolder.h"
#include "settings/win32/DomainE.h"
#include "settings/win32/SubmitDialog.h"
#include "settings/win32/setting.h"
#include "ui/ErrorPath.h"
#include "ui/win32/Form.h"

namespace {

// The arguments after the program's name, as UTF-8, from the command line as the system holds
// it: WinMain's are in the ANSI code page, which turns what it lacks into question marks.
std::vector<std::string> Arguments() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> utf8;
    for (int i = 1; arguments != nullptr && i < count; ++i) {
        utf8.push_back(tarvelo::Utf8FromWide(arguments[i]));
    }
    LocalFree(arguments);
    return utf8;
}

// What the Linux program prints, in a box: a program started from the Start menu or Explorer
// has no console to print to. The box wraps by itself, so the lines cut for a terminal join
// again; a line that ends a sentence, the usage or the refused argument stays a line.
int Answer(const tarvelo::CommandLineReply& reply) {
    std::string text = reply.output + reply.error;
    while (!text.empty() && text.back() == '\n') {
        text.pop_back();
    }
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i] == '\n' &&
            std::string_view(".]'").find(text[i - 1]) == std::string_view::npos) {
            text[i] = ' ';
        }
    }
    tarvelo::win32::ShowMessageBox(
        nullptr, text, MB_OK | (reply.exitStatus == 0 ? MB_ICONINFORMATION : MB_ICONERROR));
    return reply.exitStatus;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
    if (!tarvelo::OpenStandardStreams()) {
        return 1;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
    const std::vector<std::string> arguments = Arguments();
    std::vector<const char*> argumentTexts;
    for (const std::string& argument : arguments) {
        argumentTexts.push_back(argument.c_str());
    }
    const tarvelo::CommandLineReply reply = tarvelo::ReadCommandLine(argumentTexts);
    if (!reply.run) {
        return Answer(reply);
    }
    try {
        if (reply.menu) {
            tarvelo::EnterMenuSettingsFolder();
        }
        const auto form1 = std::make_unique<TForm1>();
        Form1 = form1.get();
        const auto setDialog = std::make_unique<TSetDialog>(Form1->hwnd);
        SetDialog = setDialog.get();
        const auto submitDialog = std::make_unique<TSubmitDialog>(SetDialog->hwnd);
        SubmitDialog = submitDialog.get();
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
