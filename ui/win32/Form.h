// What the Win32 windows share: a form (a top-level window whose messages go to its object),
// controls made from tables, the two fonts, text in and out of controls as the core's
// Shift-JIS, tooltips and modal showing.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/SecretText.h"

namespace tarvelo::win32 {

// The border of the designed dialogs: a caption and a close box, not sizeable.
inline constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;

// The fonts by name, as a Japanese Windows has them; 12 pixels high, Shift-JIS. Made once.
HFONT GothicFont();   // "ＭＳ ゴシック", fixed pitch: the message, the preview, the log
HFONT PGothicFont();  // "ＭＳ Ｐゴシック": the windows

// One control of a window: made in the order of the table, which is also the tab order.
struct ControlSpec {
    HWND* handle;
    const wchar_t* className;
    std::string_view text;  // UTF-8
    DWORD style;            // besides WS_CHILD | WS_VISIBLE
    int left, top, width, height;
    int id = 0;
    DWORD exStyle = 0;
    HFONT font = nullptr;  // null: the window's font
};

void MakeControls(HWND parent, HFONT windowFont, std::span<const ControlSpec> controls);

// The text of a control as UTF-8, as typed.
std::string Utf8Text(HWND control);

// The text of a control, in and out as the core's Shift-JIS. A box's line breaks are CR LF.
std::string SjisText(HWND control);
void SetSjisText(HWND control, std::string_view sjis);
// The program's own texts, which stand in the source as UTF-8.
void SetText(HWND control, std::string_view utf8);

// A password edit's text (UTF-8) as a secret; the edit is emptied, and the copies made on the
// way are wiped.
SecretText TakeSecretText(HWND edit);

// Lines of a list, as a multi-line box shows them: CR LF between them.
std::string JoinLines(const std::vector<std::string>& lines);

// A tooltip on control with the hint text (UTF-8).
void AddTooltip(HWND window, HWND control, std::string_view hint);

// Client size to outer size for a window of that style.
SIZE OuterSizeFor(DWORD style, DWORD exStyle, int clientWidth, int clientHeight);

// A top-level window whose messages reach Handle. The window classes (TForm1 and the
// dialogs) add their controls and the handlers that Handle hands the messages to.
class Form {
public:
    Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    virtual ~Form();

    HWND hwnd = nullptr;

    // Shows the window modally over the main window: returns IDOK or IDCANCEL when EndModal
    // has been called (by OK, Cancel, Enter, Esc or the close box). Runs the message loop of
    // its own meanwhile, with Tab, Enter and Esc as in a dialog.
    int ShowModal();
    void EndModal(int result);

protected:
    // Registers the class once and makes the window (hidden), client area as given.
    void Create(const wchar_t* className, std::string_view caption, DWORD style, int clientWidth,
                int clientHeight, HWND owner);
    // The window's messages; unhandled ones go to DefWindowProcW.
    virtual LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    // Centres the window on the screen, as the designed dialogs open.
    void CenterOnScreen();

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool modal_ = false;
    int result_ = IDCANCEL;
};

// Runs the main window's message loop until it closes; Tab moves between its controls.
int RunMessageLoop(HWND mainWindow);

}  // namespace tarvelo::win32
