// The settings dialog on the Win32 API. Its four fields are the settings while the program
// runs; the composition and the sending read them through the accessors.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "settings/SettingsStore.h"
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

    HWND Label1{}, UserName{}, Label2{}, Smtp{}, Label3{}, ResNo{}, Label4{}, centerAdr{},
        DomainEditBtn{}, BitBtnOk{}, BitBtnCan{};

protected:
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Load();
    void LoadDomains();
    void LoadSettings();
    void PromoteSelectedDomain();
    void RefuseUnencodableText() const;
    void RefuseCommandCharacters() const;
    // False when a file changed on disk since the load and the user chose not to overwrite it.
    bool MayOverwrite();
    std::string FieldText(HWND field, const std::string& stored) const;

    // The bytes of UserName, Smtp and ResNo as last read from "tvemail.ini".
    std::array<std::string, 3> stored_;
    // The entries of centerAdr as the file holds them.
    std::vector<std::string> domains_;
    // Both files' bytes as last read or written, to see another instance's change.
    tarvelo::FileContent domainsRead_;
    tarvelo::FileContent settingsRead_;
    // The fields being filled from the files: no change of the user's.
    bool loading_ = false;
};

extern TSetDialog* SetDialog;
