// The settings dialog on the Win32 API. Its four fields are the settings while the program
// runs; the composition and the sending read them through the accessors.
#pragma once

#include <string>

#include "settings/SettingsForm.h"
#include "ui/win32/Form.h"

class TSetDialog : public tarvelo::win32::Form {
public:
    // Builds the controls and runs FormCreate: both settings files are loaded, and written
    // with defaults where missing, before the constructor returns.
    explicit TSetDialog(HWND owner);

    // Shift-JIS bytes of the fields' current contents, saved or not.
    std::string UserNameText() const;
    std::string SmtpText() const;
    std::string ResNoText() const;
    // The gateway in use: the first entry of centerAdr, empty when the list is.
    std::string FirstDomainText() const;

    void FormCreate();
    void FormActivate();
    void BitBtnOkClick();
    void BitBtnCanClick();
    void DomainEditBtnClick();
    void SubmitBtnClick();

    HWND Label1{}, UserName{}, Label2{}, Smtp{}, Label3{}, ResNo{}, Label4{}, centerAdr{},
        DomainEditBtn{}, SubmitBtn{}, BitBtnOk{}, BitBtnCan{};

protected:
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // What the edits show, UTF-8.
    tarvelo::SettingsTexts Texts() const;
    int Selected() const;
    // Writes what the form's last calls changed to the controls, asks its question, and ends
    // the showing when it says so.
    void Show();

    tarvelo::SettingsForm form_;
};

extern TSetDialog* SetDialog;
