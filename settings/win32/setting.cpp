#include "settings/win32/setting.h"

#include <array>

#include "base/Error.h"
#include "base/Version.h"
#include "platform/ShiftJis.h"
#include "platform/Utf16Win32.h"
#include "settings/SettingsFiles.h"
#include "settings/SettingsStore.h"
#include "settings/win32/DomainE.h"
#include "ui/ErrorPath.h"

using tarvelo::win32::ControlSpec;
using tarvelo::win32::Utf8Text;

TSetDialog* SetDialog = nullptr;

namespace {

enum ControlId { kUserName = 201, kSmtp, kResNo, kCenterAdr, kDomainEditBtn };

}  // namespace

TSetDialog::TSetDialog(HWND owner) {
    Create(L"TSetDialog", "環境設定", tarvelo::win32::kDialogStyle, 320, 167, owner);
    constexpr DWORD kEdit = ES_AUTOHSCROLL | WS_TABSTOP;
    constexpr DWORD kLabel = SS_LEFTNOWORDWRAP | SS_NOPREFIX;
    const std::array<ControlSpec, 11> controls{{
        {&UserName, L"EDIT", "", kEdit, 88, 8, 225, 20, kUserName, WS_EX_CLIENTEDGE},
        {&Smtp, L"EDIT", "", kEdit, 88, 40, 225, 20, kSmtp, WS_EX_CLIENTEDGE},
        {&ResNo, L"EDIT", "", kEdit, 88, 72, 225, 20, kResNo, WS_EX_CLIENTEDGE},
        {&centerAdr, L"COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 88, 104, 169, 200,
         kCenterAdr, 0, tarvelo::win32::GothicFont()},
        {&DomainEditBtn, L"BUTTON", "編集(&E)", BS_PUSHBUTTON | WS_TABSTOP, 264, 104, 51, 25,
         kDomainEditBtn},
        {&BitBtnOk, L"BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_DISABLED, 160, 136, 75, 25,
         IDOK},
        {&BitBtnCan, L"BUTTON", "ｷｬﾝｾﾙ", BS_PUSHBUTTON | WS_TABSTOP, 240, 136, 75, 25, IDCANCEL},
        {&Label1, L"STATIC", "Mail Address", kLabel, 8, 8, 78, 14},
        {&Label2, L"STATIC", "SMTP Server", kLabel, 8, 40, 78, 14},
        {&Label3, L"STATIC", "返答先番号", kLabel, 8, 72, 78, 14},
        {&Label4, L"STATIC", "送信先ドメイン", kLabel, 8, 104, 78, 14},
    }};
    tarvelo::win32::MakeControls(hwnd, tarvelo::win32::PGothicFont(), controls);
    tarvelo::win32::AddTooltip(hwnd, UserName, "自分のメールアドレスを入力します");
    tarvelo::win32::AddTooltip(hwnd, Smtp, "メールサーバのアドレスを入力します");
    tarvelo::win32::AddTooltip(hwnd, ResNo, "自分のPHS番号などを入力します(省略可)");
    tarvelo::win32::AddTooltip(hwnd, centerAdr, "相手のPHS会社のドメインを指定します");
    tarvelo::win32::AddTooltip(hwnd, DomainEditBtn, "通常、編集する必要はありません");
    FormCreate();
}

std::string TSetDialog::FieldText(HWND field, const std::string& stored) const {
    return tarvelo::TypedOrStored(Utf8Text(field), stored);
}

std::string TSetDialog::UserNameText() const {
    return FieldText(UserName, stored_[0]);
}

std::string TSetDialog::SmtpText() const {
    return FieldText(Smtp, stored_[1]);
}

std::string TSetDialog::ResNoText() const {
    return FieldText(ResNo, stored_[2]);
}

std::string TSetDialog::FirstDomainText() const {
    return domains_.empty() ? std::string() : domains_.front();
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
                case kUserName:
                case kSmtp:
                case kResNo:
                    if (HIWORD(wParam) == EN_CHANGE && !loading_) {
                        // Nothing disables it again: once a setting has changed, OK stays.
                        EnableWindow(BitBtnOk, TRUE);
                    }
                    return 0;
                case kCenterAdr:
                    if (HIWORD(wParam) == CBN_SELCHANGE) {
                        EnableWindow(BitBtnOk, TRUE);
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
    tarvelo::RunHandler([this] { Load(); });
}

void TSetDialog::Load() {
    LoadDomains();
    LoadSettings();
}

void TSetDialog::LoadDomains() {
    domains_ = tarvelo::LoadOrCreateDomains(domainsRead_);
    SendMessageW(centerAdr, CB_RESETCONTENT, 0, 0);
    for (const std::string& domain : domains_) {
        const std::wstring text = tarvelo::WideFromUtf8(tarvelo::ShiftJisToUtf8(domain));
        SendMessageW(centerAdr, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    // Whatever was picked before, each load shows the gateway in use.
    SendMessageW(centerAdr, CB_SETCURSEL, domains_.empty() ? static_cast<WPARAM>(-1) : 0, 0);
}

void TSetDialog::LoadSettings() {
    const tarvelo::LineList settings = tarvelo::LoadOrCreateSettingsLines(settingsRead_);
    const std::array<HWND, 3> fields{UserName, Smtp, ResNo};
    loading_ = true;
    try {
        for (std::size_t i = 0; i < stored_.size(); ++i) {
            // A missing line stops here: the fields before it keep what was just loaded.
            stored_[i] = tarvelo::LineAt(settings, i);
            tarvelo::win32::SetSjisText(fields[i], stored_[i]);
        }
    } catch (...) {
        loading_ = false;
        throw;
    }
    loading_ = false;
}

void TSetDialog::RefuseUnencodableText() const {
    const std::array<HWND, 3> labels{Label1, Label2, Label3};
    const std::array<HWND, 3> fields{UserName, Smtp, ResNo};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string character = tarvelo::FirstUnencodableCharacter(Utf8Text(fields[i]));
        // What was read goes back as it came, whatever it holds; only typed text is judged.
        if (!character.empty() && FieldText(fields[i], stored_[i]) != stored_[i]) {
            throw tarvelo::UnencodableError(Utf8Text(labels[i]), character);
        }
    }
}

void TSetDialog::RefuseCommandCharacters() const {
    using tarvelo::CommandSetting;
    tarvelo::CheckCommandSetting(CommandSetting::MailAddress, UserNameText());
    tarvelo::CheckCommandSetting(CommandSetting::SmtpServer, SmtpText());
    // The gateway that OK puts in use; the others are judged when they are picked.
    const auto selected = static_cast<int>(SendMessageW(centerAdr, CB_GETCURSEL, 0, 0));
    if (selected >= 0 && static_cast<std::size_t>(selected) < domains_.size()) {
        tarvelo::CheckCommandSetting(CommandSetting::GatewayDomain,
                                     domains_[static_cast<std::size_t>(selected)]);
    }
}

void TSetDialog::PromoteSelectedDomain() {
    const auto selected = static_cast<int>(SendMessageW(centerAdr, CB_GETCURSEL, 0, 0));
    if (selected <= 0) {
        return;
    }
    tarvelo::PromoteDomain(domains_, static_cast<std::size_t>(selected));
    domainsRead_ = tarvelo::FormatLines(domains_);
}

bool TSetDialog::MayOverwrite() {
    std::string changed;
    if (tarvelo::ChangedOnDisk(tarvelo::kSettingsFileName, settingsRead_)) {
        changed = tarvelo::kSettingsFileName;
    }
    // The domain file is written only by a promotion.
    if (SendMessageW(centerAdr, CB_GETCURSEL, 0, 0) > 0 &&
        tarvelo::ChangedOnDisk(tarvelo::kDomainFileName, domainsRead_)) {
        changed += (changed.empty() ? "" : "、") + std::string(tarvelo::kDomainFileName);
    }
    if (changed.empty()) {
        return true;
    }
    // The platform's own box has no buttons of our naming: its Yes and No say what they do.
    const std::string text = "ﾌｧｲﾙ " + changed +
                             " は、この画面を開いた後にほかの Tarvelo などで変更されています。\n\n"
                             "はい: その変更を読み込みます。ここで入力した内容は消えます。\n"
                             "いいえ: ここで入力した内容を保存します。その変更は消えます。";
    const int answer = tarvelo::win32::ShowMessageBox(hwnd, text, MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDYES) {
        Load();
    }
    return answer == IDNO;
}

void TSetDialog::BitBtnOkClick() {
    bool refused = false;
    tarvelo::RunHandler([this, &refused] {
        // Checked before anything is written, and the dialog stays open for the correction.
        refused = true;
        RefuseUnencodableText();
        RefuseCommandCharacters();
        if (!MayOverwrite()) {
            return;
        }
        refused = false;
        PromoteSelectedDomain();
        const tarvelo::LineList lines{UserNameText(), SmtpText(), ResNoText()};
        tarvelo::WriteLineList(tarvelo::kSettingsFileName, lines);
        settingsRead_ = tarvelo::FormatLines(lines);
    });
    if (!refused) {
        // OK ends the showing even when a write failed; the message box has told why.
        EndModal(IDOK);
    }
}

void TSetDialog::BitBtnCanClick() {
    EndModal(IDCANCEL);
}

void TSetDialog::DomainEditBtnClick() {
    tarvelo::RunHandler([this] {
        // The editor reads the file, so it must see the current choice in first place.
        PromoteSelectedDomain();
        DomainEdit->ShowModal();
        // Only the list: what the user typed into the fields meanwhile is theirs to save.
        LoadDomains();
    });
}
