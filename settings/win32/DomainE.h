// The gateway domain list editor on the Win32 API.
#pragma once

#include "settings/DomainList.h"
#include "ui/win32/Form.h"

class TDomainEdit : public tarvelo::win32::Form {
public:
    explicit TDomainEdit(HWND owner);

    void FormActivate();
    void FormResize();
    void AddBtnClick();
    void DelBtnClick();
    void BitBtnOkClick();
    void BitBtnCanClick();
    void FormClose();  // every closing, by OK, Cancel, Esc or the close box

    HWND DomainList{}, Panel1{}, AddBtn{}, DelBtn{}, NewDomain{}, BitBtnOk{}, BitBtnCan{};

protected:
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The selected row, -1 for none.
    int Selected() const;
    // Writes what the form's last calls changed to the controls.
    void Show();

    tarvelo::DomainList form_;
};

extern TDomainEdit* DomainEdit;
