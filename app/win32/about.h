// The About box on the Win32 API.
#pragma once

#include "ui/win32/Form.h"

class TAboutBox : public tarvelo::win32::Form {
public:
    explicit TAboutBox(HWND owner);

    void OKButtonClick();

    HWND Panel1{}, ProgName{}, CopyRight{}, OKButton{};

protected:
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override;
};

extern TAboutBox* AboutBox;
