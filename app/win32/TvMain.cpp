#include "app/win32/TvMain.h"

#include <commctrl.h>

#include <algorithm>
#include <array>

#include "app/win32/about.h"
#include "base/Error.h"
#include "base/Version.h"
#include "compose/Composition.h"
#include "compose/WindowWidths.h"
#include "mail/tls/TlsTransport.h"
#include "platform/ShiftJis.h"
#include "platform/Utf16Win32.h"
#include "settings/SettingsFiles.h"
#include "settings/win32/SubmitPassword.h"
#include "settings/win32/setting.h"
#include "ui/ErrorPath.h"
#include "ui/Texts.h"

using tarvelo::win32::ControlSpec;
using tarvelo::win32::GothicFont;
using tarvelo::win32::SetSjisText;
using tarvelo::win32::SetText;
using tarvelo::win32::SjisText;
namespace texts = tarvelo::texts;

TForm1* Form1 = nullptr;

// The preview: a box that draws the rows the core cut, in the fixed-pitch font.
LRESULT CALLBACK PreviewProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

namespace {

enum ControlId {
    kMailMes = 101,
    kPhsNo,
    kClmUpDown,
    kSendButton,
    kSetBtn,
    kNonCng,
    kAboutBtn,
    kLogClrBtn,
    kLogSaveBtn,
};

constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW;
constexpr int kDesignedClientWidth = 685;
constexpr int kDesignedClientHeight = 340;
constexpr int kLogTop = 40;
constexpr int kLogHeight = 297;
// Inside TvImg's sunken edge.
constexpr int kPreviewMargin = 2;
// rcvClm, which ends where its spinner begins.
constexpr int kCountBoxRight = 41;
constexpr int kCountBoxTop = 272;
constexpr int kCountBoxWidth = 17;
constexpr int kCountBoxHeight = 20;

void RegisterPreviewClass() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = PreviewProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"TvImg";
    RegisterClassExW(&windowClass);
}

}  // namespace

LRESULT CALLBACK PreviewProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT || Form1 == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    const HGDIOBJ oldFont = SelectObject(dc, GothicFont(Form1->dpi));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int margin = Form1->Scale(kPreviewMargin);
    int top = margin;
    for (const std::string& row : tarvelo::PreviewRows(Form1->preview_, Form1->Columns())) {
        const std::wstring text = tarvelo::WideFromUtf8(tarvelo::ShiftJisToUtf8(row));
        TextOutW(dc, margin, top, text.c_str(), static_cast<int>(text.size()));
        top += metrics.tmHeight;
    }
    SelectObject(dc, oldFont);
    EndPaint(window, &paint);
    return 0;
}

TForm1::TForm1() : form_(tarvelo::SubmitPasswords(), tarvelo::MakeTransport) {
    RegisterPreviewClass();
    Create(L"TForm1", tarvelo::kApplicationTitle, kStyle, kDesignedClientWidth,
           kDesignedClientHeight, nullptr);
    const HFONT gothic = GothicFont();
    constexpr DWORD kEdge = WS_EX_CLIENTEDGE;
    constexpr DWORD kLabel = SS_LEFTNOWORDWRAP | SS_NOPREFIX;
    constexpr DWORD kMemo = ES_MULTILINE | ES_AUTOVSCROLL;
    const tarvelo::MainView start = tarvelo::StartView();
    // In tab order; the labels, which take no focus, last.
    const std::array<ControlSpec, 22> controls{{
        {&MailMes, L"EDIT", "", kMemo | ES_WANTRETURN | WS_VSCROLL | WS_TABSTOP, 72, 0, 281, 81,
         kMailMes, kEdge, gothic},
        {&PhsNo, L"EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, 72, 88, 281, 20, kPhsNo, kEdge},
        {&rcvClm, L"EDIT", "12", ES_READONLY | WS_BORDER, 24, 272, 17, 20},
        {&ClmUpDown, UPDOWN_CLASSW, "", UDS_HORZ | UDS_SETBUDDYINT | UDS_NOTHOUSANDS | WS_TABSTOP,
         41, 272, 15, 20, kClmUpDown},
        {&sendButton, L"BUTTON", texts::kSendButton, BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, 264,
         280, 89, 25, kSendButton},
        {&SetBtn, L"BUTTON", texts::kSetBtn, BS_PUSHBUTTON | WS_TABSTOP, 264, 312, 89, 25, kSetBtn},
        {&TvImg, L"TvImg", "", 0, 72, 200, 154, 137, 0, kEdge},
        {&phsErr, L"EDIT", start.phsErr, kMemo | ES_READONLY, 264, 240, 89, 33, 0, kEdge},
        {&msgErr, L"EDIT", start.msgErr, kMemo | ES_READONLY, 264, 200, 89, 33, 0, kEdge},
        {&Log, L"EDIT", "", kMemo | ES_READONLY | WS_VSCROLL, 368, kLogTop, 313, kLogHeight, 0,
         kEdge, gothic},
        {&LogClrBtn, L"BUTTON", texts::kLogClrBtn, BS_PUSHBUTTON, 424, 24, 65, 17, kLogClrBtn},
        {&TvMes, L"EDIT", "", kMemo, 72, 112, 281, 81, 0, kEdge, gothic},
        {&NonCng, L"BUTTON", texts::kNonCng, BS_AUTOCHECKBOX, 368, 0, 105, 17, kNonCng},
        {&LogSaveBtn, L"BUTTON", texts::kLogSaveBtn, BS_PUSHBUTTON, 496, 24, 105, 17, kLogSaveBtn},
        {&AboutBtn, L"BUTTON", texts::kAboutBtn, BS_PUSHBUTTON, 560, 0, 43, 17, kAboutBtn},
        {&MesL, L"STATIC", texts::kMesL, kLabel, 8, 40, 38, 17},
        {&PhsNoL, L"STATIC", texts::kPhsNoL, kLabel, 8, 88, 40, 12},
        {&Label3, L"STATIC", texts::kLabel3, kLabel, 8, 144, 53, 12},
        {&Label1, L"STATIC", texts::kLabel1, kLabel, 8, 224, 43, 12},
        {&Label2, L"STATIC", texts::kLabel2, kLabel, 8, 240, 55, 12},
        {&Label4, L"STATIC", texts::kLabel4, kLabel, 8, 275, 12, 17},
        {&Label5, L"STATIC", texts::kLabel5, kLabel, 368, 24, 49, 12},
    }};
    tarvelo::win32::MakeControls(hwnd, tarvelo::win32::PGothicFont(), controls);
    // Two digits fill the 17 pixels of the designed box: no room for the usual margins. The
    // error boxes' two lines of seven full-width characters fill theirs likewise.
    for (const HWND box : {rcvClm, msgErr, phsErr}) {
        SendMessageW(box, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    }
    tarvelo::win32::MakeKeyableSpinner(ClmUpDown);
    FitCountBox();
    SendMessageW(ClmUpDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(rcvClm), 0);
    SendMessageW(ClmUpDown, UDM_SETRANGE32, tarvelo::kMinColumns, tarvelo::kMaxColumns);
    SendMessageW(ClmUpDown, UDM_SETPOS32, 0, tarvelo::kDefaultColumns);
    tarvelo::win32::AddTooltip(hwnd, sendButton, texts::kSendButtonHint);
    tarvelo::win32::AddTooltip(hwnd, LogClrBtn, texts::kLogClrBtnHint);
    tarvelo::win32::AddTooltip(hwnd, LogSaveBtn, texts::kLogSaveBtnHint);

    ClmUpDownClick();
    // The debug log area starts out of sight, right of the window's edge.
    const SIZE outer = ScaledOuterSize(tarvelo::kMainMinimumOuterWidth, tarvelo::kMainOuterHeight);
    SetWindowPos(hwnd, nullptr, 0, 0, outer.cx, outer.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    FormResize();
}

// The count box holds two digits whole, whatever the font and the edit's border: where the
// designed 17 pixels are too few, it grows to the left, away from its spinner.
void TForm1::FitCountBox() {
    const HDC dc = GetDC(rcvClm);
    const HGDIOBJ old = SelectObject(dc, tarvelo::win32::PGothicFont(dpi));
    SIZE digits{};
    GetTextExtentPoint32W(dc, L"88", 2, &digits);
    SelectObject(dc, old);
    ReleaseDC(rcvClm, dc);
    RECT outer{};
    RECT inner{};
    GetWindowRect(rcvClm, &outer);
    GetClientRect(rcvClm, &inner);
    const int border = static_cast<int>(outer.right - outer.left - inner.right);
    const int width = std::max(Scale(kCountBoxWidth), static_cast<int>(digits.cx) + 2 + border);
    SendMessageW(rcvClm, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    MoveWindow(rcvClm, Scale(kCountBoxRight) - width, Scale(kCountBoxTop), width,
               Scale(kCountBoxHeight), TRUE);
}

int TForm1::Columns() const {
    return static_cast<int>(SendMessageW(ClmUpDown, UDM_GETPOS32, 0, 0));
}

LRESULT TForm1::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && !activated_) {
                activated_ = true;
                // The message box first in the tab order has the focus, as in a dialog.
                SetFocus(MailMes);
                FormActivate();
                return 0;
            }
            break;
        case WM_GETMINMAXINFO: {
            // The height fixed, the width no less than the designed one.
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            const SIZE least =
                ScaledOuterSize(tarvelo::kMainMinimumOuterWidth, tarvelo::kMainOuterHeight);
            limits->ptMinTrackSize = {least.cx, least.cy};
            limits->ptMaxTrackSize.y = least.cy;
            return 0;
        }
        case WM_SIZE:
            FormResize();
            return 0;
        case 0x02E0:  // WM_DPICHANGED: the controls at the new DPI, then the preview's width
        {
            const LRESULT handled = Form::Handle(message, wParam, lParam);
            FitCountBox();
            ClmUpDownClick();
            FormResize();
            return handled;
        }
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_HSCROLL:
            if (reinterpret_cast<HWND>(lParam) == ClmUpDown && LOWORD(wParam) == SB_THUMBPOSITION) {
                ClmUpDownClick();
            }
            return 0;
        case WM_TIMER:
            Timer1Timer();
            return 0;
        case kAskAgainMessage:
            AskAgain();
            return 0;
        case WM_CTLCOLOREDIT:
            // The mail image is editable, yet drawn on the button face like the boxes that
            // only show.
            if (reinterpret_cast<HWND>(lParam) == TvMes) {
                SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
            }
            break;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return Form::Handle(message, wParam, lParam);
}

void TForm1::OnCommand(int id, int code) {
    switch (id) {
        case kMailMes:
        case kPhsNo:
            if (code == EN_CHANGE) {
                tarvelo::RunHandler([this] { MailMesChange(); });
            }
            break;
        case kNonCng:
            tarvelo::RunHandler([this] { MailMesChange(); });
            break;
        case kSendButton:
            sendButtonClick();
            break;
        case kSetBtn:
            SetBtnClick();
            break;
        case kAboutBtn:
            AboutBtnClick();
            break;
        case kLogClrBtn:
            LogClrBtnClick();
            break;
        case kLogSaveBtn:
            LogSaveBtnClick();
            break;
        default:
            break;
    }
}

void TForm1::FormActivate() {
    tarvelo::RunHandler([this] { MailMesChange(); });
}

// The window's limits are WM_GETMINMAXINFO's; here the log takes the width, by the rule of the
// designed outer width.
void TForm1::FormResize() {
    if (Log == nullptr) {
        return;
    }
    const int designedBorder = tarvelo::win32::OuterSizeFor(kStyle, 0, 0, 0).cx;
    const tarvelo::MainWindowSize wanted =
        tarvelo::MainWindowSizeFor(DesignedClientWidth() + designedBorder);
    MoveWindow(Log, Scale(tarvelo::kLogLeft), Scale(kLogTop), Scale(wanted.logWidth),
               Scale(kLogHeight), TRUE);
}

void TForm1::MailMesChange() {
    tarvelo::MainView view = tarvelo::ComposeMain(
        {.message = SjisText(MailMes),
         .phsNo = SjisText(PhsNo),
         .resNo = SetDialog != nullptr ? SetDialog->ResNoText() : std::string(),
         .testMode = SendMessageW(NonCng, BM_GETCHECK, 0, 0) == BST_CHECKED});
    preview_ = std::move(view.preview);
    InvalidateRect(TvImg, nullptr, TRUE);
    SetSjisText(TvMes, tarvelo::win32::JoinLines(view.mailImage));
    SetText(msgErr, view.msgErr);
    SetText(phsErr, view.phsErr);
    EnableWindow(sendButton, view.sendEnabled ? TRUE : FALSE);
}

void TForm1::ClmUpDownClick() {
    RECT box{};
    GetWindowRect(TvImg, &box);
    SetWindowPos(TvImg, nullptr, 0, 0, Scale(tarvelo::PreviewWidth(Columns())),
                 box.bottom - box.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(TvImg, nullptr, TRUE);
}

void TForm1::SetBtnClick() {
    SetDialog->ShowModal();
}

void TForm1::AboutBtnClick() {
    SetText(AboutBox->ProgName, tarvelo::kVersionText);
    AboutBox->ShowModal();
}

void TForm1::LogClrBtnClick() {
    form_.ClearLog();
    ShowLog();
}

void TForm1::LogSaveBtnClick() {
    tarvelo::RunHandler([this] {
        form_.SaveLog();
        ShowLog();
    });
}

void TForm1::ShowLog() {
    SetSjisText(Log, tarvelo::win32::JoinLines(form_.LogLines()));
    const LRESULT end = GetWindowTextLengthW(Log);
    SendMessageW(Log, EM_SETSEL, static_cast<WPARAM>(end), end);
    SendMessageW(Log, EM_SCROLLCARET, 0, 0);
}
