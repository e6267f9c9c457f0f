#include "app/win32/about.h"

#include <array>

#include "base/Version.h"
#include "mail/win32/Send.h"
#include "ui/Texts.h"

using tarvelo::win32::ControlSpec;

TAboutBox* AboutBox = nullptr;

TAboutBox::TAboutBox(HWND owner) {
    Create(L"TAboutBox", tarvelo::texts::kAboutCaption, tarvelo::win32::kDialogStyle, 250, 144,
           owner);
    const std::array<ControlSpec, 4> controls{{
        {&OKButton, L"BUTTON", tarvelo::texts::kOk, BS_DEFPUSHBUTTON | WS_TABSTOP, 87, 108, 75, 25,
         IDOK},
        {&Panel1, L"STATIC", "", SS_SUNKEN, 8, 8, 233, 81, 0, WS_EX_CLIENTEDGE},
        {&ProgName, L"STATIC", tarvelo::texts::kProgNameDesigned, SS_LEFT | SS_NOPREFIX, 24, 24,
         200, 16},
        {&CopyRight, L"STATIC", tarvelo::kCopyrightText, SS_LEFT | SS_NOPREFIX, 24, 48, 200, 16},
    }};
    tarvelo::win32::MakeControls(hwnd, tarvelo::win32::PGothicFont(), controls);
}

LRESULT TAboutBox::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SHOWWINDOW && wParam != 0) {
        CenterOnScreen();
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        OKButtonClick();
        return 0;
    }
    return Form::Handle(message, wParam, lParam);
}

void TAboutBox::OKButtonClick() {
    EndModal(IDOK);
}
