// What the Win32 windows share: a form (a top-level window whose messages go to its object),
// controls made from tables, the two fonts, text in and out of controls as the core's
// Shift-JIS, tooltips, message boxes and modal showing. The tables give the designed sizes, in
// pixels at 96 DPI; the form scales them by its window's DPI / 96, when it is made and when
// Windows moves it to a monitor of another DPI.
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

// The fonts by name, as a Japanese Windows has them; 12 pixels high at 96 DPI, in proportion
// at others, Shift-JIS. Made once for each DPI. A table names them at 96 DPI; its window
// takes them at its own.
HFONT GothicFont(int dpi = 96);  // "ＭＳ ゴシック", fixed pitch: the message, the preview, the log
HFONT PGothicFont(int dpi = 96);  // "ＭＳ Ｐゴシック": the windows

// One control of a window: made in the order of the table, which is also the tab order. A
// label (a STATIC of SS_LEFTNOWORDWRAP) is as wide as its text, as labels are in the toolkit
// the windows were designed in; the rectangle gives its place and least size.
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

// parent is a Form's window, which keeps the table to lay the controls out again at another DPI.
void MakeControls(HWND parent, HFONT windowFont, std::span<const ControlSpec> controls);

// The text of a control as UTF-8, as typed.
std::string Utf8Text(HWND control);

// The text of a control, in and out as the core's Shift-JIS. A box's line breaks are CR LF.
std::string SjisText(HWND control);
void SetSjisText(HWND control, std::string_view sjis);
// The program's own texts, which stand in the source as UTF-8.
void SetText(HWND control, std::string_view utf8);

// A password edit's text (UTF-8) as a secret, the copies made on the way wiped; Take empties
// the edit.
SecretText SecretTextOf(HWND edit);
SecretText TakeSecretText(HWND edit);

// Lines of a list, as a multi-line box shows them: CR LF between them.
std::string JoinLines(const std::vector<std::string>& lines);

// A tooltip on control with the hint text (UTF-8).
void AddTooltip(HWND window, HWND control, std::string_view hint);

// Client size to outer size for a window of that style at dpi.
SIZE OuterSizeFor(DWORD style, DWORD exStyle, int clientWidth, int clientHeight, int dpi = 96);

// A message box with the application's title, which it is wide enough to show whole; owner may
// be null. Returns the button pressed, as MessageBoxW does.
int ShowMessageBox(HWND owner, std::string_view text, UINT type);

// The up-down spinner as a tab stop that shows its focus and takes the arrow keys: Up and
// Right step up, Down and Left down, each as a click on the arrow would (WM_HSCROLL or
// WM_VSCROLL with SB_THUMBPOSITION to the parent).
void MakeKeyableSpinner(HWND upDown);

// A top-level window whose messages reach Handle. The window classes (TForm1 and the
// dialogs) add their controls and the handlers that Handle hands the messages to.
class Form {
public:
    Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    virtual ~Form();

    HWND hwnd = nullptr;
    // The window's pixels per inch: GetDpiForWindow, or the system's where Windows has none.
    int dpi = 96;

    // A designed length (96 DPI) at the window's DPI.
    int Scale(int designed) const;
    // The outer size that a window designed at outerWidth x outerHeight (96 DPI, with the
    // border of 96 DPI) has at the window's DPI: the client part scaled, the border as it is.
    SIZE ScaledOuterSize(int outerWidth, int outerHeight) const;
    // The client width back in designed pixels (96 DPI).
    int DesignedClientWidth() const;

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
    friend void MakeControls(HWND, HFONT, std::span<const ControlSpec>);
    // A control as its table gave it; the table itself may be gone.
    struct Placed {
        HWND window;
        int left, top, width, height;
        HFONT font;
        std::wstring labelText;  // a label's, to measure it
    };
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Place(const Placed& placed) const;
    // WM_DPICHANGED: everything at the new DPI, the window where Windows suggests.
    void DpiChanged(int newDpi, const RECT& suggested);
    bool modal_ = false;
    int result_ = IDCANCEL;
    DWORD style_ = 0;
    HFONT windowFont_ = nullptr;  // at 96 DPI, as the table names it
    std::vector<Placed> placed_;
};

// Runs the main window's message loop until it closes; Tab moves between its controls.
int RunMessageLoop(HWND mainWindow);

}  // namespace tarvelo::win32
