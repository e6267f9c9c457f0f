#include "settings/win32/SubmitDialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "platform/SecretText.h"
#include "platform/Utf16Win32.h"
#include "settings/win32/SubmitPassword.h"
#include "settings/win32/setting.h"
#include "ui/ErrorPath.h"
#include "ui/Texts.h"

using tarvelo::win32::ControlSpec;
using tarvelo::win32::Utf8Text;
namespace texts = tarvelo::texts;

TSubmitDialog* SubmitDialog = nullptr;

namespace {

enum ControlId { kPort = 401, kPortUpDown, kSecurity, kLogin, kPassword, kCaFile, kCaFileBtn };

// The longest path the file chooser hands back.
constexpr std::size_t kPathCapacity = 32768;

// A kind of file for the chooser's filter: its name, then its patterns as Windows separates
// them, each followed by a zero.
void AddFileKind(std::wstring& filter, std::string_view name, std::string_view patterns) {
    std::string joined(patterns);
    std::replace(joined.begin(), joined.end(), ' ', ';');
    filter += tarvelo::WideFromUtf8(name);
    filter += L'\0';
    filter += tarvelo::WideFromUtf8(joined);
    filter += L'\0';
}

}  // namespace

TSubmitDialog::TSubmitDialog(HWND owner) {
    // In the settings dialog's grid, as the Qt program lays it out.
    Create(L"TSubmitDialog", texts::kSubmitCaption, tarvelo::win32::kDialogStyle, 320, 199, owner);
    constexpr DWORD kEdit = ES_AUTOHSCROLL | WS_TABSTOP;
    constexpr DWORD kLabel = SS_LEFTNOWORDWRAP | SS_NOPREFIX;
    const std::array<ControlSpec, 14> controls{{
        // The edit and its arrows together as wide as the Qt program's spinner.
        {&Port, L"EDIT", "", kEdit, 88, 8, 65, 20, kPort, WS_EX_CLIENTEDGE},
        {&PortUpDown, UPDOWN_CLASSW, "", UDS_ARROWKEYS, 153, 8, 16, 20, kPortUpDown},
        {&Security, L"COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 88, 40, 121, 200,
         kSecurity},
        {&Login, L"EDIT", "", kEdit, 88, 72, 225, 20, kLogin, WS_EX_CLIENTEDGE},
        {&Password, L"EDIT", "", kEdit | ES_PASSWORD, 88, 104, 225, 20, kPassword,
         WS_EX_CLIENTEDGE},
        {&CaFile, L"EDIT", "", kEdit, 88, 136, 169, 20, kCaFile, WS_EX_CLIENTEDGE},
        {&CaFileBtn, L"BUTTON", texts::kCaFileBtn, BS_PUSHBUTTON | WS_TABSTOP, 264, 136, 51, 25,
         kCaFileBtn},
        {&BitBtnOk, L"BUTTON", texts::kOk, BS_DEFPUSHBUTTON | WS_TABSTOP, 160, 168, 75, 25, IDOK},
        {&BitBtnCan, L"BUTTON", texts::kCancel, BS_PUSHBUTTON | WS_TABSTOP, 240, 168, 75, 25,
         IDCANCEL},
        {&Label1, L"STATIC", texts::kPortLabel, kLabel, 8, 8, 78, 14},
        {&Label2, L"STATIC", texts::kSecurityLabel, kLabel, 8, 40, 78, 14},
        {&Label3, L"STATIC", texts::kLoginLabel, kLabel, 8, 72, 78, 14},
        {&Label4, L"STATIC", texts::kPasswordLabel, kLabel, 8, 104, 78, 14},
        {&Label5, L"STATIC", texts::kCaFileLabel, kLabel, 8, 136, 78, 14},
    }};
    tarvelo::win32::MakeControls(hwnd, tarvelo::win32::PGothicFont(), controls);
    SendMessageW(PortUpDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Port), 0);
    // Only the direction of the arrows counts (PortUpDownClick), up for the larger numbers.
    SendMessageW(PortUpDown, UDM_SETRANGE32, 0, tarvelo::kLastPort);
    for (const std::string_view choice : {texts::kDefaultChoice, texts::kSecurityNone,
                                          texts::kSecurityStartTls, texts::kSecurityTls}) {
        const std::wstring text = tarvelo::WideFromUtf8(choice);
        SendMessageW(Security, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    tarvelo::win32::AddTooltip(hwnd, Port, texts::kPortHint);
    tarvelo::win32::AddTooltip(hwnd, Security, texts::kSecurityHint);
    tarvelo::win32::AddTooltip(hwnd, Login, texts::kLoginHint);
    tarvelo::win32::AddTooltip(hwnd, Password, texts::kPasswordHintWindows);
    tarvelo::win32::AddTooltip(hwnd, CaFile, texts::kCaFileHint);
}

LRESULT TSubmitDialog::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SHOWWINDOW:
            if (wParam != 0) {
                // The load came before the showing (Open).
                CenterOnScreen();
                // Each showing starts at the top, wherever the last one was left.
                SetFocus(Port);
            }
            break;
        case WM_CLOSE:
            FormClose();
            break;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->hwndFrom == PortUpDown && header->code == UDN_DELTAPOS) {
                PortUpDownClick(reinterpret_cast<const NMUPDOWN*>(lParam)->iDelta);
                // The edit's text is the port; the arrows' own count is not kept.
                return 1;
            }
            break;
        }
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                    BitBtnOkClick();
                    return 0;
                case IDCANCEL:
                    BitBtnCanClick();
                    return 0;
                case kCaFileBtn:
                    CaFileBtnClick();
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

void TSubmitDialog::Open() {
    if (FormActivate()) {
        ShowModal();
    }
}

bool TSubmitDialog::FormActivate() {
    bool loaded = false;
    tarvelo::RunHandler([this, &loaded] {
        const tarvelo::SubmitTexts texts = form_.Load();
        tarvelo::win32::SetText(Port, tarvelo::PortText(texts.port));
        SendMessageW(Security, CB_SETCURSEL, static_cast<WPARAM>(texts.security), 0);
        tarvelo::win32::SetText(Login, texts.login);
        tarvelo::win32::SetText(CaFile, texts.caFile);
        form_.Shown(Texts());
        loaded = true;
    });
    return loaded;
}

void TSubmitDialog::BitBtnOkClick() {
    tarvelo::RunHandler([this] {
        const std::string smtp = SetDialog->SmtpText();
        // Taken out of the edit only once OK goes through; a refusal leaves it for correction.
        const tarvelo::SecretText typed = tarvelo::win32::SecretTextOf(Password);
        const tarvelo::SubmissionSettings settings = form_.Ok(Texts(), smtp, typed.view());
        if (!typed.empty()) {
            SetWindowTextW(Password, L"");
            tarvelo::SubmitPasswords().Keep(smtp, settings.login, typed.view());
        }
    });
    // Pressing OK ends the showing even when a write failed; the message box has told why.
    if (form_.Closes()) {
        FormClose();
        EndModal(IDOK);
    }
}

void TSubmitDialog::BitBtnCanClick() {
    FormClose();
    EndModal(IDCANCEL);
}

void TSubmitDialog::CaFileBtnClick() {
    std::wstring filter;
    AddFileKind(filter, texts::kPemFiles, texts::kPemPatterns);
    AddFileKind(filter, texts::kAllFiles, texts::kAllPatterns);
    const std::wstring title = tarvelo::WideFromUtf8(texts::kCaFileLabel);
    // The chooser opens at the file named now.
    std::vector<wchar_t> path(kPathCapacity, L'\0');
    const std::wstring now = tarvelo::WideFromUtf8(Utf8Text(CaFile));
    std::copy_n(now.begin(), std::min(now.size(), path.size() - 1), path.begin());
    OPENFILENAMEW chooser{};
    chooser.lStructSize = sizeof chooser;
    chooser.hwndOwner = hwnd;
    chooser.lpstrFilter = filter.c_str();
    chooser.lpstrFile = path.data();
    chooser.nMaxFile = static_cast<DWORD>(path.size());
    chooser.lpstrTitle = title.c_str();
    chooser.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (GetOpenFileNameW(&chooser) != 0) {
        SetWindowTextW(CaFile, path.data());
    }
}

void TSubmitDialog::PortUpDownClick(int delta) {
    tarvelo::win32::SetText(Port, tarvelo::PortStepped(Utf8Text(Port), delta));
}

void TSubmitDialog::FormClose() {
    SetWindowTextW(Password, L"");
}

tarvelo::SubmitTexts TSubmitDialog::Texts() const {
    return {tarvelo::PortOfText(Utf8Text(Port)),
            static_cast<int>(SendMessageW(Security, CB_GETCURSEL, 0, 0)), Utf8Text(Login),
            Utf8Text(CaFile)};
}
