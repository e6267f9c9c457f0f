#include "ui/win32/Form.h"

#include <commctrl.h>

#include "platform/ShiftJis.h"
#include "platform/Utf16Win32.h"
#include "ui/FontNames.h"

namespace tarvelo::win32 {

namespace {

constexpr int kFontHeight = 12;

HFONT MakeFont(const wchar_t* name) {
    // A negative height asks for the character height, as the windows were designed.
    return CreateFontW(-kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, name);
}

// Tab moves the focus even out of the message box, which, being a multi-line edit, would take
// it as a character: the designed boxes do not want tabs.
bool MovedFocus(HWND window, const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_TAB || GetKeyState(VK_CONTROL) < 0 ||
        IsChild(window, message.hwnd) == 0) {
        return false;
    }
    const HWND next = GetNextDlgTabItem(window, GetFocus(), GetKeyState(VK_SHIFT) < 0);
    if (next != nullptr) {
        SetFocus(next);
    }
    return true;
}

// One message of a window's loop, with Tab, Enter and Esc as in a dialog.
void Dispatch(HWND window, MSG& message) {
    if (!MovedFocus(window, message) && IsDialogMessageW(window, &message) == 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace

HFONT GothicFont() {
    static const HFONT font = MakeFont(WideFromUtf8(kGothicFontName).c_str());
    return font;
}

HFONT PGothicFont() {
    static const HFONT font = MakeFont(WideFromUtf8(kPGothicFontName).c_str());
    return font;
}

void MakeControls(HWND parent, HFONT windowFont, std::span<const ControlSpec> controls) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    for (const ControlSpec& control : controls) {
        *control.handle = CreateWindowExW(
            control.exStyle, control.className, WideFromUtf8(control.text).c_str(),
            WS_CHILD | WS_VISIBLE | control.style, control.left, control.top, control.width,
            control.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
            instance, nullptr);
        SendMessageW(*control.handle, WM_SETFONT,
                     reinterpret_cast<WPARAM>(control.font != nullptr ? control.font : windowFont),
                     FALSE);
    }
}

std::string Utf8Text(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return Utf8FromWide(text);
}

std::string SjisText(HWND control) {
    return Utf8TextToShiftJis(Utf8Text(control));
}

void SetSjisText(HWND control, std::string_view sjis) {
    SetText(control, ShiftJisToUtf8(sjis));
}

void SetText(HWND control, std::string_view utf8) {
    SetWindowTextW(control, WideFromUtf8(utf8).c_str());
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        if (&line != &lines.front()) {
            text += "\r\n";
        }
        text += line;
    }
    return text;
}

void AddTooltip(HWND window, HWND control, std::string_view hint) {
    static HWND tooltips = nullptr;
    if (tooltips == nullptr) {
        tooltips = CreateWindowExW(
            WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
    }
    std::wstring text = WideFromUtf8(hint);
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text.data();
    SendMessageW(tooltips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

SIZE OuterSizeFor(DWORD style, DWORD exStyle, int clientWidth, int clientHeight) {
    RECT rect{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

Form::~Form() {
    if (hwnd != nullptr) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        DestroyWindow(hwnd);
    }
}

void Form::Create(const wchar_t* className, std::string_view caption, DWORD style, int clientWidth,
                  int clientHeight, HWND owner) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    if (GetClassInfoExW(instance, className, &windowClass) == 0) {
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
        windowClass.lpszClassName = className;
        RegisterClassExW(&windowClass);
    }
    const SIZE outer = OuterSizeFor(style, 0, clientWidth, clientHeight);
    CreateWindowExW(0, className, WideFromUtf8(caption).c_str(), style, CW_USEDEFAULT,
                    CW_USEDEFAULT, outer.cx, outer.cy, owner, nullptr, instance, this);
}

void Form::CenterOnScreen() {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    SetWindowPos(hwnd, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int Form::ShowModal() {
    // The window it was opened from: the main window, or the settings dialog for the editor.
    const HWND owner = GetActiveWindow() != hwnd ? GetActiveWindow() : nullptr;
    modal_ = true;
    result_ = IDCANCEL;
    ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);
    if (owner != nullptr) {
        EnableWindow(owner, FALSE);
    }
    // The first control of the tab order, unless the window has chosen another.
    if (IsChild(hwnd, GetFocus()) == 0) {
        SetFocus(GetNextDlgTabItem(hwnd, nullptr, FALSE));
    }
    MSG message;
    while (modal_) {
        if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
            // The program is ending: the main loop must see the quit too.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        Dispatch(hwnd, message);
    }
    // The owner first, so that the focus goes back to it and not to another program.
    if (owner != nullptr) {
        EnableWindow(owner, TRUE);
    }
    ShowWindow(hwnd, SW_HIDE);
    if (owner != nullptr) {
        SetActiveWindow(owner);
    }
    return result_;
}

void Form::EndModal(int result) {
    result_ = result;
    modal_ = false;
}

LRESULT Form::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE && modal_) {
        EndModal(IDCANCEL);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK Form::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form =
            static_cast<Form*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->hwnd = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return form != nullptr ? form->Handle(message, wParam, lParam)
                           : DefWindowProcW(window, message, wParam, lParam);
}

int RunMessageLoop(HWND mainWindow) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        Dispatch(mainWindow, message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace tarvelo::win32
