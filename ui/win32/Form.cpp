#include "ui/win32/Form.h"

#include <commctrl.h>

#include <algorithm>
#include <map>

#include "base/Version.h"
#include "platform/ShiftJis.h"
#include "platform/Utf16Win32.h"
#include "ui/FontNames.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace tarvelo::win32 {

namespace {

constexpr int kFontHeight = 12;
constexpr int kDesignedDpi = 96;

HFONT MakeFont(const wchar_t* name, int dpi) {
    // A negative height asks for the character height, as the windows were designed.
    return CreateFontW(-MulDiv(kFontHeight, dpi, kDesignedDpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                       FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, name);
}

HFONT FontAt(const wchar_t* name, std::map<int, HFONT>& made, int dpi) {
    HFONT& font = made[dpi];
    if (font == nullptr) {
        font = MakeFont(name, dpi);
    }
    return font;
}

// A function of user32 that older Windows lack: GetDpiForWindow and AdjustWindowRectExForDpi
// came with Windows 10 1607. Null where it is missing.
template <class Function>
Function User32Function(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

// Every window's DPI where Windows knows no other.
int SystemDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDesignedDpi;
}

int WindowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    const UINT dpi = getDpiForWindow != nullptr ? getDpiForWindow(window) : 0;
    return dpi != 0 ? static_cast<int>(dpi) : SystemDpi();
}

// A table names the two fonts as made for 96 DPI; the window takes the same at its DPI.
HFONT FontAtDpi(HFONT designed, int dpi) {
    return designed == GothicFont() ? GothicFont(dpi) : PGothicFont(dpi);
}

bool IsClass(HWND window, const wchar_t* className) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    return lstrcmpiW(name, className) == 0;
}

SIZE TextSize(HWND window, HFONT font, const std::wstring& text) {
    const HDC dc = GetDC(window);
    const HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return size;
}

// Ctrl+A selects the whole text of an edit, as it does in Windows' newer boxes and in Qt; the
// multi-line edits of the common controls take it as nothing at all.
bool SelectedAll(const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != 'A' || GetKeyState(VK_CONTROL) >= 0 ||
        GetKeyState(VK_MENU) < 0 || !IsClass(message.hwnd, L"Edit")) {
        return false;
    }
    SendMessageW(message.hwnd, EM_SETSEL, 0, -1);
    return true;
}

// The message box being opened by ShowMessageBox.
HHOOK messageBoxHook = nullptr;

// Widens a message box that is narrower than its title, keeping its contents in the middle:
// MessageBoxW sizes itself by its text alone.
void FitTitle(HWND box) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    const HFONT captionFont = CreateFontIndirectW(&metrics.lfCaptionFont);
    std::wstring title(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
    title.resize(static_cast<std::size_t>(
        GetWindowTextW(box, title.data(), static_cast<int>(title.size()))));
    // The title, the icon before it, the buttons after it and the border.
    const int needed = TextSize(box, captionFont, title).cx + GetSystemMetrics(SM_CXSMICON) +
                       3 * metrics.iCaptionWidth + 4 * GetSystemMetrics(SM_CXFRAME) + 16;
    DeleteObject(captionFont);
    RECT outer{};
    GetWindowRect(box, &outer);
    const int shift = (needed - (outer.right - outer.left)) / 2;
    if (shift <= 0) {
        return;
    }
    SetWindowPos(box, nullptr, outer.left - shift, outer.top, needed, outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        RECT place{};
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&place), 2);
        SetWindowPos(child, nullptr, place.left + shift, place.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

LRESULT CALLBACK MessageBoxHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && messageBoxHook != nullptr) {
        UnhookWindowsHookEx(messageBoxHook);
        messageBoxHook = nullptr;
        FitTitle(reinterpret_cast<HWND>(wParam));
        return 0;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK SpinnerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR) {
    switch (message) {
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_KEYDOWN: {
            const int step = wParam == VK_UP || wParam == VK_RIGHT    ? 1
                             : wParam == VK_DOWN || wParam == VK_LEFT ? -1
                                                                      : 0;
            if (step == 0) {
                break;
            }
            int low = 0;
            int high = 0;
            SendMessageW(window, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                         reinterpret_cast<LPARAM>(&high));
            const int next = static_cast<int>(SendMessageW(window, UDM_GETPOS32, 0, 0)) + step;
            // No wrap-around: a step past either end changes nothing, as a click does not.
            if (next >= std::min(low, high) && next <= std::max(low, high)) {
                SendMessageW(window, UDM_SETPOS32, 0, next);
                const bool horizontal = (GetWindowLongW(window, GWL_STYLE) & UDS_HORZ) != 0;
                SendMessageW(GetParent(window), horizontal ? WM_HSCROLL : WM_VSCROLL,
                             MAKEWPARAM(SB_THUMBPOSITION, next), reinterpret_cast<LPARAM>(window));
            }
            return 0;
        }
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(window, nullptr, TRUE);
            break;
        case WM_PAINT: {
            const LRESULT painted = DefSubclassProc(window, message, wParam, lParam);
            if (GetFocus() == window) {
                const HDC dc = GetDC(window);
                RECT inside{};
                GetClientRect(window, &inside);
                InflateRect(&inside, -2, -2);
                DrawFocusRect(dc, &inside);
                ReleaseDC(window, dc);
            }
            return painted;
        }
        case WM_NCDESTROY:
            RemoveWindowSubclass(window, SpinnerProcedure, 0);
            break;
        default:
            break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
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
    if (!MovedFocus(window, message) && !SelectedAll(message) &&
        IsDialogMessageW(window, &message) == 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace

HFONT GothicFont(int dpi) {
    static std::map<int, HFONT> made;
    return FontAt(WideFromUtf8(kGothicFontName).c_str(), made, dpi);
}

HFONT PGothicFont(int dpi) {
    static std::map<int, HFONT> made;
    return FontAt(WideFromUtf8(kPGothicFontName).c_str(), made, dpi);
}

void MakeControls(HWND parent, HFONT windowFont, std::span<const ControlSpec> controls) {
    auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(parent, GWLP_USERDATA));
    form->windowFont_ = windowFont;
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    for (const ControlSpec& control : controls) {
        *control.handle = CreateWindowExW(
            control.exStyle, control.className, WideFromUtf8(control.text).c_str(),
            WS_CHILD | WS_VISIBLE | control.style, control.left, control.top, control.width,
            control.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
            instance, nullptr);
        const bool label = lstrcmpiW(control.className, L"STATIC") == 0 &&
                           (control.style & SS_TYPEMASK) == SS_LEFTNOWORDWRAP;
        Form::Placed placed{*control.handle,
                            control.left,
                            control.top,
                            control.width,
                            control.height,
                            control.font,
                            label ? WideFromUtf8(control.text) : std::wstring()};
        form->Place(placed);
        form->placed_.push_back(std::move(placed));
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

SecretText SecretTextOf(HWND edit) {
    std::vector<wchar_t> wide(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    const int length = GetWindowTextW(edit, wide.data(), static_cast<int>(wide.size()));
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::vector<char> utf8(static_cast<std::size_t>(size) + 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), size, nullptr, nullptr);
    SecretText secret(std::string_view(utf8.data(), static_cast<std::size_t>(size)));
    WipeBytes(utf8.data(), utf8.size());
    WipeBytes(reinterpret_cast<char*>(wide.data()), wide.size() * sizeof(wchar_t));
    return secret;
}

SecretText TakeSecretText(HWND edit) {
    SecretText secret = SecretTextOf(edit);
    SetWindowTextW(edit, L"");
    return secret;
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

SIZE OuterSizeFor(DWORD style, DWORD exStyle, int clientWidth, int clientHeight, int dpi) {
    using AdjustFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = User32Function<AdjustFunction>("AdjustWindowRectExForDpi");
    RECT rect{0, 0, clientWidth, clientHeight};
    if (adjustForDpi == nullptr || adjustForDpi(&rect, style, FALSE, exStyle, dpi) == 0) {
        // The border at the system's DPI, which is then every window's.
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    }
    return {rect.right - rect.left, rect.bottom - rect.top};
}

int ShowMessageBox(HWND owner, std::string_view text, UINT type) {
    messageBoxHook = SetWindowsHookExW(WH_CBT, MessageBoxHook, nullptr, GetCurrentThreadId());
    const int answer = MessageBoxW(owner, WideFromUtf8(text).c_str(),
                                   WideFromUtf8(kApplicationTitle).c_str(), type);
    if (messageBoxHook != nullptr) {
        UnhookWindowsHookEx(messageBoxHook);
        messageBoxHook = nullptr;
    }
    return answer;
}

void MakeKeyableSpinner(HWND upDown) {
    SetWindowSubclass(upDown, SpinnerProcedure, 0, 0);
}

int Form::Scale(int designed) const {
    return MulDiv(designed, dpi, kDesignedDpi);
}

SIZE Form::ScaledOuterSize(int outerWidth, int outerHeight) const {
    const SIZE designedBorder = OuterSizeFor(style_, 0, 0, 0, kDesignedDpi);
    const SIZE border = OuterSizeFor(style_, 0, 0, 0, dpi);
    return {Scale(outerWidth - designedBorder.cx) + border.cx,
            Scale(outerHeight - designedBorder.cy) + border.cy};
}

int Form::DesignedClientWidth() const {
    RECT client{};
    GetClientRect(hwnd, &client);
    return MulDiv(client.right, kDesignedDpi, dpi);
}

void Form::Place(const Placed& placed) const {
    const HFONT font = FontAtDpi(placed.font != nullptr ? placed.font : windowFont_, dpi);
    int width = Scale(placed.width);
    int height = Scale(placed.height);
    if (!placed.labelText.empty()) {
        const SIZE text = TextSize(placed.window, font, placed.labelText);
        width = std::max(width, static_cast<int>(text.cx));
        height = std::max(height, static_cast<int>(text.cy));
    }
    SendMessageW(placed.window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    MoveWindow(placed.window, Scale(placed.left), Scale(placed.top), width, height, TRUE);
}

void Form::DpiChanged(int newDpi, const RECT& suggested) {
    dpi = newDpi;
    for (const Placed& placed : placed_) {
        Place(placed);
    }
    SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hwnd, nullptr, TRUE);
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
        // The program's icon (packaging/windows/Program.rc), in the title bar and the task
        // switcher.
        windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
        windowClass.hIconSm = static_cast<HICON>(
            LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                       GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
        windowClass.lpszClassName = className;
        RegisterClassExW(&windowClass);
    }
    style_ = style;
    const SIZE outer = OuterSizeFor(style, 0, clientWidth, clientHeight);
    CreateWindowExW(0, className, WideFromUtf8(caption).c_str(), style, CW_USEDEFAULT,
                    CW_USEDEFAULT, outer.cx, outer.cy, owner, nullptr, instance, this);
    // Known once the window is there: that of the monitor it is on.
    dpi = WindowDpi(hwnd);
    if (dpi != kDesignedDpi) {
        const SIZE scaled = OuterSizeFor(style, 0, Scale(clientWidth), Scale(clientHeight), dpi);
        SetWindowPos(hwnd, nullptr, 0, 0, scaled.cx, scaled.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
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
    if (message == WM_DPICHANGED) {
        DpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
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
