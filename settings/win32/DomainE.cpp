#include "settings/win32/DomainE.h"

#include <algorithm>
#include <array>

#include "platform/Utf16Win32.h"
#include "ui/ErrorPath.h"
#include "ui/Texts.h"

using tarvelo::win32::ControlSpec;
namespace texts = tarvelo::texts;

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

}  // namespace

TDomainEdit::TDomainEdit(HWND owner) {
    Create(L"TDomainEdit", texts::kDomainEditCaption, kStyle, 327, 187, owner);
    const std::array<ControlSpec, 7> controls{{
        {&Panel1, L"STATIC", "", 0, 0, 93, 327, kPanelHeight},
        {&AddBtn, L"BUTTON", texts::kAddBtn, BS_PUSHBUTTON | WS_TABSTOP, 8, 101, 75, 25, kAddBtn},
        {&DelBtn, L"BUTTON", texts::kDelBtn, BS_PUSHBUTTON | WS_TABSTOP, 88, 101, 75, 25, kDelBtn},
        {&NewDomain, L"EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, 8, 133, 313, 20, 0,
         WS_EX_CLIENTEDGE},
        {&BitBtnOk, L"BUTTON", texts::kOk, BS_DEFPUSHBUTTON | WS_TABSTOP, 168, 157, 75, 25, IDOK},
        {&BitBtnCan, L"BUTTON", texts::kCancel, BS_PUSHBUTTON | WS_TABSTOP, 248, 157, 75, 25,
         IDCANCEL},
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
        case WM_CLOSE:
            FormClose();
            break;
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
    tarvelo::RunHandler([this] { form_.Load(); });
    Show();
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
    tarvelo::RunHandler([this] { form_.Add(tarvelo::win32::Utf8Text(NewDomain), Selected()); });
    Show();
}

void TDomainEdit::DelBtnClick() {
    form_.Delete(Selected());
    Show();
}

void TDomainEdit::BitBtnOkClick() {
    tarvelo::RunHandler([this] { form_.Ok(); });
    FormClose();
    // OK ends the showing even when the write failed; the message box has told why.
    EndModal(IDOK);
}

void TDomainEdit::BitBtnCanClick() {
    FormClose();
    EndModal(IDCANCEL);
}

void TDomainEdit::FormClose() {
    form_.Close();
    Show();
}

int TDomainEdit::Selected() const {
    const auto selected = static_cast<int>(SendMessageW(DomainList, LB_GETCURSEL, 0, 0));
    return selected == LB_ERR ? -1 : selected;
}

void TDomainEdit::Show() {
    const tarvelo::DomainListView view = form_.TakeView();
    if (view.entries) {
        SendMessageW(DomainList, LB_RESETCONTENT, 0, 0);
        for (const std::string& entry : *view.entries) {
            const std::wstring text = tarvelo::WideFromUtf8(entry);
            SendMessageW(DomainList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
    }
    if (view.selected) {
        SendMessageW(DomainList, LB_SETCURSEL, static_cast<WPARAM>(*view.selected), 0);
    }
    if (view.newDomain) {
        tarvelo::win32::SetText(NewDomain, *view.newDomain);
    }
    form_.Shown(tarvelo::win32::Utf8Text(NewDomain));
}
