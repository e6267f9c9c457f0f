// The send progress dialog on the Win32 API: what the main window's sending shows.
#pragma once

#include "ui/win32/Form.h"

class TSendDlg : public tarvelo::win32::Form {
public:
    explicit TSendDlg(HWND owner);

    void CancelBtnClick();
    // After a change of State's text: the dialog grows to show the whole of it.
    void FitState();

    HWND Bevel1{}, SendLabel{}, State{}, CancelBtn{};

protected:
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override;
};

extern TSendDlg* SendDlg;
