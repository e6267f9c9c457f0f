#include "settings/win32/setting.h"

#include <array>

#include "platform/Utf16Win32.h"
#include "settings/win32/DomainE.h"
#include "settings/win32/SubmitDialog.h"
#include "ui/ErrorPath.h"
#include "ui/Texts.h"
#include "ui/win32/QuestionBox.h"

using tarvelo::SettingsField;
using tarvelo::win32::ControlSpec;
using tarvelo::win32::Utf8Text;
namespace texts = tarvelo::texts;

TSetDialog* SetDialog = nullptr;

namespace {

enum ControlId { kUserName = 201, kSmtp, kResNo, kCenterAdr, kDomainEditBtn, kSubmitBtn };

// The question's answers, in the order of tarvelo::ChangedAnswer.
constexpr std::array<std::string_view, 3> kAnswers{texts::kLoadAnswer, texts::kOverwriteAnswer,
                                                   texts::kCancel};

}  // namespace

TSetDialog::TSetDialog(HWND owner) {
    Create(L"TSetDialog", texts::kSetDialogCaption, tarvelo::win32::kDialogStyle, 320, 167, owner);
    constexpr DWORD kEdit = ES_AUTOHSCROLL | WS_TABSTOP;
    constexpr DWORD kLabel = SS_LEFTNOWORDWRAP | SS_NOPREFIX;
    const std::array<ControlSpec, 12> controls{{
        {&UserName, L"EDIT", "", kEdit, 88, 8, 225, 20, kUserName, WS_EX_CLIENTEDGE},
        {&Smtp, L"EDIT", "", kEdit, 88, 40, 225, 20, kSmtp, WS_EX_CLIENTEDGE},
        {&ResNo, L"EDIT", "", kEdit, 88, 72, 225, 20, kResNo, WS_EX_CLIENTEDGE},
        {&centerAdr, L"COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 88, 104, 169, 200,
         kCenterAdr, 0, tarvelo::win32::GothicFont()},
        {&DomainEditBtn, L"BUTTON", texts::kDomainEditBtn, BS_PUSHBUTTON | WS_TABSTOP, 264, 104, 51,
         25, kDomainEditBtn},
        // In the free space left of OK, so that the designed controls keep their places.
        {&SubmitBtn, L"BUTTON", texts::kSubmitBtn, BS_PUSHBUTTON | WS_TABSTOP, 8, 136, 105, 25,
         kSubmitBtn},
        {&BitBtnOk, L"BUTTON", texts::kOk, BS_DEFPUSHBUTTON | WS_TABSTOP, 160, 136, 75, 25, IDOK},
        {&BitBtnCan, L"BUTTON", texts::kCancel, BS_PUSHBUTTON | WS_TABSTOP, 240, 136, 75, 25,
         IDCANCEL},
        {&Label1, L"STATIC", texts::kMailAddressLabel, kLabel, 8, 8, 78, 14},
        {&Label2, L"STATIC", texts::kSmtpServerLabel, kLabel, 8, 40, 78, 14},
        {&Label3, L"STATIC", texts::kResNoLabel, kLabel, 8, 72, 78, 14},
        {&Label4, L"STATIC", texts::kDomainLabel, kLabel, 8, 104, 78, 14},
    }};
    tarvelo::win32::MakeControls(hwnd, tarvelo::win32::PGothicFont(), controls);
    tarvelo::win32::AddTooltip(hwnd, UserName, texts::kUserNameHint);
    tarvelo::win32::AddTooltip(hwnd, Smtp, texts::kSmtpHint);
    tarvelo::win32::AddTooltip(hwnd, ResNo, texts::kResNoHint);
    tarvelo::win32::AddTooltip(hwnd, centerAdr, texts::kCenterAdrHint);
    tarvelo::win32::AddTooltip(hwnd, DomainEditBtn, texts::kDomainEditBtnHint);
    tarvelo::win32::AddTooltip(hwnd, SubmitBtn, texts::kSubmitBtnHint);
    FormCreate();
}

std::string TSetDialog::UserNameText() const {
    return form_.FieldBytes(SettingsField::UserName, Utf8Text(UserName));
}

std::string TSetDialog::SmtpText() const {
    return form_.FieldBytes(SettingsField::Smtp, Utf8Text(Smtp));
}

std::string TSetDialog::ResNoText() const {
    return form_.FieldBytes(SettingsField::ResNo, Utf8Text(ResNo));
}

std::string TSetDialog::FirstDomainText() const {
    return form_.FirstDomain();
}

LRESULT TSetDialog::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SHOWWINDOW:
            if (wParam != 0) {
                CenterOnScreen();
                FormActivate();
            }
            break;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                    // Enter presses OK only while it is enabled.
                    if (IsWindowEnabled(BitBtnOk) != 0) {
                        BitBtnOkClick();
                    }
                    return 0;
                case IDCANCEL:
                    BitBtnCanClick();
                    return 0;
                case kDomainEditBtn:
                    DomainEditBtnClick();
                    return 0;
                case kSubmitBtn:
                    SubmitBtnClick();
                    return 0;
                case kUserName:
                case kSmtp:
                case kResNo:
                    if (HIWORD(wParam) == EN_CHANGE) {
                        EnableWindow(BitBtnOk, form_.Edited() ? TRUE : FALSE);
                    }
                    return 0;
                case kCenterAdr:
                    if (HIWORD(wParam) == CBN_SELCHANGE) {
                        EnableWindow(BitBtnOk, form_.Edited() ? TRUE : FALSE);
                    }
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

void TSetDialog::FormCreate() {
    FormActivate();
}

void TSetDialog::FormActivate() {
    tarvelo::RunHandler([this] { form_.Load(Texts()); });
    Show();
}

void TSetDialog::BitBtnOkClick() {
    tarvelo::RunHandler([this] { form_.Ok(Texts(), Selected()); });
    Show();
}

void TSetDialog::BitBtnCanClick() {
    EndModal(IDCANCEL);
}

void TSetDialog::DomainEditBtnClick() {
    tarvelo::RunHandler([this] {
        form_.OpenDomainEditor(Selected());
        DomainEdit->ShowModal();
        form_.DomainEditorClosed();
    });
    Show();
}

void TSetDialog::SubmitBtnClick() {
    // Its own file, written by its own OK: this dialog's fields and OK are left as they are.
    if (SubmitDialog != nullptr) {
        SubmitDialog->Open();
    }
}

tarvelo::SettingsTexts TSetDialog::Texts() const {
    return {Utf8Text(UserName), Utf8Text(Smtp), Utf8Text(ResNo)};
}

int TSetDialog::Selected() const {
    return static_cast<int>(SendMessageW(centerAdr, CB_GETCURSEL, 0, 0));
}

void TSetDialog::Show() {
    const tarvelo::SettingsView view = form_.TakeView();
    if (view.domains) {
        SendMessageW(centerAdr, CB_RESETCONTENT, 0, 0);
        for (const std::string& domain : *view.domains) {
            const std::wstring text = tarvelo::WideFromUtf8(domain);
            SendMessageW(centerAdr, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
    }
    if (view.selected) {
        SendMessageW(centerAdr, CB_SETCURSEL, static_cast<WPARAM>(*view.selected), 0);
    }
    const std::array<HWND, tarvelo::kSettingsFields> edits{UserName, Smtp, ResNo};
    for (std::size_t i = 0; i < edits.size(); ++i) {
        if (view.fields[i]) {
            tarvelo::win32::SetText(edits[i], *view.fields[i]);
        }
    }
    form_.Shown(Texts());
    EnableWindow(BitBtnOk, view.okEnabled ? TRUE : FALSE);
    if (view.question) {
        const auto answer = static_cast<tarvelo::ChangedAnswer>(
            tarvelo::win32::AskQuestion(*view.question, kAnswers));
        tarvelo::RunHandler([this, answer] { form_.Answer(answer); });
        Show();
    } else if (view.close) {
        // OK ends the showing even when a write failed; the message box has told why.
        EndModal(IDOK);
    }
}
