// The submission settings of "tvsubmit.ini" on the Win32 API, opened from the settings dialog:
// port, security, login and CA file, and the password, which goes to the Credential Manager (or
// is kept in memory for this run) and never to a file.
#pragma once

#include "settings/SubmitForm.h"
#include "ui/win32/Form.h"

class TSubmitDialog : public tarvelo::win32::Form {
public:
    explicit TSubmitDialog(HWND owner);

    // Each showing: the load, and the dialog only over a file that it could read.
    void Open();
    bool FormActivate();  // the load; false when it failed and its box has said why
    void BitBtnOkClick();
    void BitBtnCanClick();
    void CaFileBtnClick();
    void PortUpDownClick(int delta);
    void FormClose();  // every closing: the typed password leaves the edit

    HWND Label1{}, Port{}, PortUpDown{}, Label2{}, Security{}, Label3{}, Login{}, Label4{},
        Password{}, Label5{}, CaFile{}, CaFileBtn{}, BitBtnOk{}, BitBtnCan{};

protected:
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // What the controls show; raises the port edit's refusal.
    tarvelo::SubmitTexts Texts() const;

    tarvelo::SubmitForm form_;
};

extern TSubmitDialog* SubmitDialog;
