// Asks for the password of the submission server at a sending, when none is kept, on the Win32
// API: made for one question and gone with it.
#pragma once

#include "ui/win32/Form.h"

class TPasswordDialog : public tarvelo::win32::Form {
public:
    explicit TPasswordDialog(HWND owner);

    void BitBtnOkClick();
    void BitBtnCanClick();  // also Esc and the close box: the typed password leaves the edit

    HWND Label2{};  // why the question comes again: the server's refusal, or empty
    HWND Label1{};  // whose password: login and server
    HWND Label3{}, Login{}, Label4{}, Password{};
    HWND Remember{};  // 「パスワードを保存する」
    HWND BitBtnOk{}, BitBtnCan{};

protected:
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override;
};
