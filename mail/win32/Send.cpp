#include "mail/win32/Send.h"

#include <algorithm>
#include <array>
#include <string>

#include "ui/Texts.h"

using tarvelo::win32::ControlSpec;

TSendDlg* SendDlg = nullptr;

namespace {

constexpr int kClientWidth = 313;
constexpr int kClientHeight = 116;
constexpr int kStateTop = 48;
// One line of the reason.
constexpr int kStateHeight = 16;

}  // namespace

TSendDlg::TSendDlg(HWND owner) {
    // No system menu and no close box: the dialog ends by its button or Esc.
    Create(L"TSendDlg", tarvelo::texts::kSendCaption, tarvelo::win32::kDialogStyle & ~WS_SYSMENU,
           kClientWidth, kClientHeight, owner);
    const std::array<ControlSpec, 4> controls{{
        {&CancelBtn, L"BUTTON", tarvelo::texts::kCancel, BS_DEFPUSHBUTTON | WS_TABSTOP, 119, 84, 75,
         25, IDCANCEL},
        {&Bevel1, L"STATIC", "", SS_ETCHEDFRAME, 8, 8, 297, 65},
        {&SendLabel, L"STATIC", tarvelo::texts::kSendLabelDesigned, SS_LEFT | SS_NOPREFIX, 32, 24,
         260, 16},
        {&State, L"STATIC", tarvelo::texts::kStateDesigned, SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL,
         32, kStateTop, 260, kStateHeight},
    }};
    tarvelo::win32::MakeControls(hwnd, tarvelo::win32::PGothicFont(), controls);
}

// The reason wraps at the label's width, as Qt's label does; the bevel, the button and the
// dialog make room for its lines below the first.
void TSendDlg::FitState() {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(State)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(State, text.data(), static_cast<int>(text.size()))));
    RECT place{};
    GetWindowRect(State, &place);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&place), 2);
    RECT needed{0, 0, place.right - place.left, 0};
    const HDC dc = GetDC(State);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(State, WM_GETFONT, 0, 0)));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed,
              DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(State, dc);
    const int more = std::max(0, static_cast<int>(needed.bottom) - Scale(kStateHeight));
    MoveWindow(State, place.left, place.top, place.right - place.left, Scale(kStateHeight) + more,
               TRUE);
    MoveWindow(Bevel1, Scale(8), Scale(8), Scale(297), Scale(65) + more, TRUE);
    MoveWindow(CancelBtn, Scale(119), Scale(84) + more, Scale(75), Scale(25), TRUE);
    const SIZE outer = tarvelo::win32::OuterSizeFor(
        GetWindowLongW(hwnd, GWL_STYLE), 0, Scale(kClientWidth), Scale(kClientHeight) + more, dpi);
    SetWindowPos(hwnd, nullptr, 0, 0, outer.cx, outer.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT TSendDlg::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == 0x02E0) {  // WM_DPICHANGED: the controls at the new DPI, then the reason
        const LRESULT handled = Form::Handle(message, wParam, lParam);
        FitState();
        return handled;
    }
    if (message == WM_SHOWWINDOW && wParam != 0) {
        // Designed to open in the middle of the screen, not over the main window.
        CenterOnScreen();
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK)) {
        CancelBtnClick();
        return 0;
    }
    return Form::Handle(message, wParam, lParam);
}

void TSendDlg::CancelBtnClick() {
    EndModal(IDCANCEL);
}
