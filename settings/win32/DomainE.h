// The gateway domain list editor on the Win32 API.
#pragma once

#include <string>
#include <vector>

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

    HWND DomainList{}, Panel1{}, AddBtn{}, DelBtn{}, NewDomain{}, BitBtnOk{}, BitBtnCan{};

protected:
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The entries as the file holds them, or as typed for the added ones (Shift-JIS), in the
    // order of DomainList.
    std::vector<std::string> domains_;
};

extern TDomainEdit* DomainEdit;
