#include "mail/win32/Send.h"

#include <array>

#include "ui/Texts.h"

using tarvelo::win32::ControlSpec;

TSendDlg* SendDlg = nullptr;

TSendDlg::TSendDlg(HWND owner) {
    Create(L"TSendDlg", tarvelo::texts::kSendCaption, tarvelo::win32::kDialogStyle, 313, 116,
           owner);
    const std::array<ControlSpec, 4> controls{{
        {&CancelBtn, L"BUTTON", tarvelo::texts::kCancel, BS_DEFPUSHBUTTON | WS_TABSTOP, 119, 84, 75,
         25, IDCANCEL},
        {&Bevel1, L"STATIC", "", SS_ETCHEDFRAME, 8, 8, 297, 65},
        {&SendLabel, L"STATIC", tarvelo::texts::kSendLabelDesigned, SS_LEFT | SS_NOPREFIX, 32, 24,
         260, 16},
        {&State, L"STATIC", tarvelo::texts::kStateDesigned, SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS,
         32, 48, 260, 16},
    }};
    tarvelo::win32::MakeControls(hwnd, tarvelo::win32::PGothicFont(), controls);
}

LRESULT TSendDlg::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
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
