// The settings dialog. Its four fields are the settings while the program runs: there is no
// other copy, and the composition and the sending read them through the accessors below. It is
// made at start, for the load, but builds its controls only at its first showing, so that the
// main window's first frame does not wait for them: until then what they would show is held
// beside the form, and the accessors answer from there.
#pragma once

#include <QDialog>
#include <string>

#include "settings/SettingsForm.h"

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QShowEvent;

class TSetDialog : public QDialog {
    Q_OBJECT

public:
    // Runs FormCreate: both settings files are loaded, and written with defaults where
    // missing, before the constructor returns. The controls are not built yet.
    explicit TSetDialog(QWidget* parent = nullptr);

    // Shift-JIS bytes of the fields' current contents, saved or not.
    std::string UserNameText() const;
    std::string SmtpText() const;
    std::string ResNoText() const;
    // The gateway in use: the first entry of centerAdr, empty when the list is.
    std::string FirstDomainText() const;

    // Handlers. Each shows its own errors in a message box and skips the rest of its body.
    void FormCreate();
    void FormActivate();  // the load, at creation and at every showing
    void BitBtnOkClick();
    void BitBtnCanClick();
    void DomainEditBtnClick();
    void SubmitBtnClick();
    void UserNameChange();
    void SmtpChange();
    void ResNoChange();
    void centerAdrChange();

    // Null until the first showing.
    QLabel* Label1 = nullptr;
    QLineEdit* UserName = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Smtp = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* ResNo = nullptr;
    QLabel* Label4 = nullptr;
    QComboBox* centerAdr = nullptr;
    QPushButton* DomainEditBtn = nullptr;
    QPushButton* SubmitBtn = nullptr;  // opens SubmitDialog
    QPushButton* BitBtnOk = nullptr;
    QPushButton* BitBtnCan = nullptr;

    // Builds the controls before the first showing, whichever way the dialog is shown.
    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The controls, placed and connected, showing what is held.
    void CreateControls();
    // What an edit shows, or is to show when it is built, UTF-8.
    std::string FieldText(tarvelo::SettingsField field) const;
    tarvelo::SettingsTexts Texts() const;
    // Writes what the form's last calls changed to the controls, asks its question, and ends
    // the showing when it says so; before the controls are built, holds it for them.
    void Show();
    void WriteControls(const tarvelo::SettingsView& view);
    tarvelo::ChangedAnswer Ask(const std::string& question);

    tarvelo::SettingsForm form_;
    // What the controls are to show when they are built.
    tarvelo::SettingsView held_;
};

extern TSetDialog* SetDialog;
