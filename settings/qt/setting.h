// The settings dialog. Its four fields are the settings while the program runs: there is no
// other copy, and the composition and the sending read them through the accessors below.
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
    // Builds the controls and runs FormCreate: both settings files are loaded, and written
    // with defaults where missing, before the constructor returns.
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

    QLabel* Label1;
    QLineEdit* UserName;
    QLabel* Label2;
    QLineEdit* Smtp;
    QLabel* Label3;
    QLineEdit* ResNo;
    QLabel* Label4;
    QComboBox* centerAdr;
    QPushButton* DomainEditBtn;
    QPushButton* SubmitBtn;  // opens SubmitDialog
    QPushButton* BitBtnOk;
    QPushButton* BitBtnCan;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // What the edits show, UTF-8.
    tarvelo::SettingsTexts Texts() const;
    // Writes what the form's last calls changed to the controls, asks its question, and ends
    // the showing when it says so.
    void Show();
    tarvelo::ChangedAnswer Ask(const std::string& question);

    tarvelo::SettingsForm form_;
};

extern TSetDialog* SetDialog;
