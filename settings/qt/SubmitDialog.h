// The submission settings of "tvsubmit.ini", opened from the settings dialog: port, security,
// login and CA file, and the password, which goes to the secret store (or is kept in memory
// for this run) and never to a file.
#pragma once

#include <QDialog>
#include <QPointer>
#include <string>

#include "settings/SubmitForm.h"

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QShowEvent;
class QSpinBox;

class TSubmitDialog : public QDialog {
    Q_OBJECT

public:
    explicit TSubmitDialog(QWidget* parent = nullptr);

    // Handlers. Each shows its own errors in a message box and skips the rest of its body.
    // Shows the dialog modally over what "tvsubmit.ini" holds; a file that cannot be read gets
    // its box instead, and the dialog stays closed: its OK would write defaults over it.
    void Open();
    bool FormActivate();  // the load, at every showing; false when it failed
    void BitBtnOkClick();
    void BitBtnCanClick();
    void CaFileBtnClick();
    void FormClose();  // every closing: the typed password leaves the edit

    QLabel* Label1;
    QSpinBox* Port;
    QLabel* Label2;
    QComboBox* Security;
    QLabel* Label3;
    QLineEdit* Login;
    QLabel* Label4;
    QLineEdit* Password;
    QLabel* Label5;
    QLineEdit* CaFile;
    QPushButton* CaFileBtn;
    QPushButton* BitBtnOk;
    QPushButton* BitBtnCan;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // What the controls show.
    tarvelo::SubmitTexts Texts() const;

    tarvelo::SubmitForm form_;
};

// Made at its first use, over the settings dialog; null again when that goes.
extern QPointer<TSubmitDialog> SubmitDialog;
