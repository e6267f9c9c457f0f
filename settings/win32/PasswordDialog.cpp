#include "settings/win32/PasswordDialog.h"

#include <array>

#include "ui/Texts.h"

using tarvelo::win32::ControlSpec;
namespace texts = tarvelo::texts;

namespace {

enum ControlId { kPassword = 501, kRemember };

}  // namespace

TPasswordDialog::TPasswordDialog(HWND owner) {
    // In the submission dialog's grid, as the Qt program lays it out.
    Create(L"TPasswordDialog", texts::kPasswordCaption, tarvelo::win32::kDialogStyle, 320, 177,
           owner);
    constexpr DWORD kLabel = SS_LEFTNOWORDWRAP | SS_NOPREFIX;
    const std::array<ControlSpec, 9> controls{{
        {&Password, L"EDIT", "", ES_AUTOHSCROLL | ES_PASSWORD | WS_TABSTOP, 88, 90, 225, 20,
         kPassword, WS_EX_CLIENTEDGE},
        {&Remember, L"BUTTON", texts::kSavePassword, BS_AUTOCHECKBOX | WS_TABSTOP, 88, 116, 225, 20,
         kRemember},
        {&BitBtnOk, L"BUTTON", texts::kOk, BS_DEFPUSHBUTTON | WS_TABSTOP, 160, 144, 75, 25, IDOK},
        {&BitBtnCan, L"BUTTON", texts::kCancel, BS_PUSHBUTTON | WS_TABSTOP, 240, 144, 75, 25,
         IDCANCEL},
        // The server's reply may be long: it wraps within its two lines.
        {&Label2, L"STATIC", "", SS_LEFT | SS_NOPREFIX, 8, 8, 305, 28},
        {&Label1, L"STATIC", "", kLabel, 8, 40, 305, 20},
        {&Label3, L"STATIC", texts::kLoginLabel, kLabel, 8, 66, 78, 14},
        // Filled in, not for typing: the login the password goes with.
        {&Login, L"EDIT", "", ES_AUTOHSCROLL | ES_READONLY, 88, 64, 225, 20, 0, WS_EX_CLIENTEDGE},
        {&Label4, L"STATIC", texts::kPasswordLabel, kLabel, 8, 92, 78, 14},
    }};
    tarvelo::win32::MakeControls(hwnd, tarvelo::win32::PGothicFont(), controls);
    tarvelo::win32::AddTooltip(hwnd, Remember, texts::kSavePasswordHintWindows);
}

LRESULT TPasswordDialog::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SHOWWINDOW:
            if (wParam != 0) {
                CenterOnScreen();
            }
            break;
        case WM_CLOSE:
            BitBtnCanClick();
            return 0;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                    BitBtnOkClick();
                    return 0;
                case IDCANCEL:
                    BitBtnCanClick();
                    return 0;
                default:
                    break;
            }
            break;
        default:
            break;
    }
    return Form::Handle(message, wParam, lParam);
}

void TPasswordDialog::BitBtnOkClick() {
    EndModal(IDOK);
}

void TPasswordDialog::BitBtnCanClick() {
    SetWindowTextW(Password, L"");
    EndModal(IDCANCEL);
}
