#include "settings/win32/DomainE.h"

#include <algorithm>
#include <array>

#include "base/Error.h"
#include "platform/ShiftJis.h"
#include "platform/Utf16Win32.h"
#include "settings/LineList.h"
#include "settings/SettingsFiles.h"
#include "settings/SettingsStore.h"
#include "ui/ErrorPath.h"

using tarvelo::win32::ControlSpec;

TDomainEdit* DomainEdit = nullptr;

namespace {

enum ControlId { kAddBtn = 301, kDelBtn, kDomainList };

constexpr int kOuterWidth = 335;
constexpr int kOuterHeight = 214;
constexpr int kPanelHeight = 94;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;

// The controls on Panel1, at their places within it.
struct PanelPlace {
    HWND TDomainEdit::*control;
    int left, top, width, height;
};
constexpr std::array<PanelPlace, 5> kPanelPlaces{{
    {&TDomainEdit::AddBtn, 8, 8, 75, 25},
    {&TDomainEdit::DelBtn, 88, 8, 75, 25},
    {&TDomainEdit::NewDomain, 8, 40, 313, 20},
    {&TDomainEdit::BitBtnOk, 168, 64, 75, 25},
    {&TDomainEdit::BitBtnCan, 248, 64, 75, 25},
}};

void AddItem(HWND list, const std::string& sjis) {
    const std::wstring text = tarvelo::WideFromUtf8(tarvelo::ShiftJisToUtf8(sjis));
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace

TDomainEdit::TDomainEdit(HWND owner) {
    Create(L"TDomainEdit", "Tarveloドメインの編集", kStyle, 327, 187, owner);
    const std::array<ControlSpec, 7> controls{{
        {&Panel1, L"STATIC", "", 0, 0, 93, 327, kPanelHeight},
        {&AddBtn, L"BUTTON", "追加(&A)", BS_PUSHBUTTON | WS_TABSTOP, 8, 101, 75, 25, kAddBtn},
        {&DelBtn, L"BUTTON", "削除(&R)", BS_PUSHBUTTON | WS_TABSTOP, 88, 101, 75, 25, kDelBtn},
        {&NewDomain, L"EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, 8, 133, 313, 20, 0,
         WS_EX_CLIENTEDGE},
        {&BitBtnOk, L"BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 168, 157, 75, 25, IDOK},
        {&BitBtnCan, L"BUTTON", "ｷｬﾝｾﾙ", BS_PUSHBUTTON | WS_TABSTOP, 248, 157, 75, 25, IDCANCEL},
        {&DomainList, L"LISTBOX", "", LBS_NOTIFY | WS_VSCROLL | WS_TABSTOP, 0, 0, 327, 93,
         kDomainList, WS_EX_CLIENTEDGE},
    }};
    tarvelo::win32::MakeControls(hwnd, tarvelo::win32::PGothicFont(), controls);
    const SIZE outer = ScaledOuterSize(kOuterWidth, kOuterHeight);
    SetWindowPos(hwnd, nullptr, 0, 0, outer.cx, outer.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT TDomainEdit::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SHOWWINDOW:
            if (wParam != 0) {
                CenterOnScreen();
                FormActivate();
                // Where the tab order starts: Enter then presses a harmless Add, not OK.
                SetFocus(AddBtn);
            }
            break;
        case WM_GETMINMAXINFO: {
            // Only the height is the user's to change.
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            const LONG width = ScaledOuterSize(kOuterWidth, kOuterHeight).cx;
            limits->ptMinTrackSize.x = width;
            limits->ptMaxTrackSize.x = width;
            return 0;
        }
        case WM_SIZE:
            FormResize();
            return 0;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case kAddBtn:
                    AddBtnClick();
                    return 0;
                case kDelBtn:
                    DelBtnClick();
                    return 0;
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

void TDomainEdit::FormActivate() {
    tarvelo::RunHandler([this] {
        // Read before anything changes, so that a file that cannot be read leaves the list.
        domains_ = tarvelo::ReadLineList(tarvelo::kDomainFileName);
        SendMessageW(DomainList, LB_RESETCONTENT, 0, 0);
        for (const std::string& domain : domains_) {
            AddItem(DomainList, domain);
        }
    });
}

void TDomainEdit::FormResize() {
    if (DomainList == nullptr) {
        return;
    }
    RECT client{};
    GetClientRect(hwnd, &client);
    const int panelHeight = Scale(kPanelHeight);
    const int listHeight = std::max(0, static_cast<int>(client.bottom) - panelHeight);
    MoveWindow(DomainList, 0, 0, client.right, listHeight, TRUE);
    MoveWindow(Panel1, 0, listHeight, client.right, panelHeight, TRUE);
    for (const PanelPlace& place : kPanelPlaces) {
        MoveWindow(this->*place.control, Scale(place.left), listHeight + Scale(place.top),
                   Scale(place.width), Scale(place.height), TRUE);
    }
}

void TDomainEdit::AddBtnClick() {
    tarvelo::RunHandler([this] {
        const std::string typed = tarvelo::win32::Utf8Text(NewDomain);
        if (typed.empty()) {
            return;
        }
        // Refused while it is still in the edit for correction: the file holds Shift-JIS.
        const std::string character = tarvelo::FirstUnencodableCharacter(typed);
        if (!character.empty()) {
            throw tarvelo::UnencodableError("ドメイン", character);
        }
        tarvelo::CheckCommandSetting(tarvelo::CommandSetting::GatewayDomain,
                                     tarvelo::Utf8ToShiftJis(typed));
        domains_.push_back(tarvelo::Utf8ToShiftJis(typed));
        AddItem(DomainList, domains_.back());
        SetWindowTextW(NewDomain, L"");
    });
}

void TDomainEdit::DelBtnClick() {
    const auto selected = static_cast<int>(SendMessageW(DomainList, LB_GETCURSEL, 0, 0));
    // The list never loses its last entry: some gateway must stay in use.
    if (selected == LB_ERR || domains_.size() <= 1) {
        return;
    }
    // The text waits in NewDomain, to be corrected and added again.
    tarvelo::win32::SetSjisText(NewDomain, domains_[static_cast<std::size_t>(selected)]);
    domains_.erase(domains_.begin() + selected);
    SendMessageW(DomainList, LB_DELETESTRING, static_cast<WPARAM>(selected), 0);
}

void TDomainEdit::BitBtnOkClick() {
    tarvelo::RunHandler([this] {
        tarvelo::WriteLineList(tarvelo::kDomainFileName, domains_);
        SetWindowTextW(NewDomain, L"");
    });
    // OK ends the showing even when the write failed; the message box has told why.
    EndModal(IDOK);
}

void TDomainEdit::BitBtnCanClick() {
    SetWindowTextW(NewDomain, L"");
    EndModal(IDCANCEL);
}
