// The settings dialog. Its four fields are the settings while the program runs: there is no
// other copy, and the composition and the sending read them through the accessors below.
#pragma once

#include <QDialog>
#include <array>
#include <string>
#include <vector>

#include "settings/SettingsStore.h"

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
    // The load without its error path; raises FileOpenError, FileCreateError, ListIndexError.
    void Load();
    // Raises FileOpenError, FileCreateError.
    void LoadDomains();
    void LoadSettings();
    // Swaps the selected entry of centerAdr into the first place and writes the list; does
    // nothing when the first entry or none is selected. Raises FileCreateError.
    void PromoteSelectedDomain();
    void SaveSettings();
    void EnableOk();
    // Raises UnencodableError for the first field whose typed text holds a character that
    // Shift-JIS, and so the file, cannot hold.
    void RefuseUnencodableText() const;
    // Raises CommandCharacterError for the sender, the server or the gateway that OK puts in
    // use when it would change the meaning of an SMTP command.
    void RefuseCommandCharacters() const;
    // When a file that OK writes has changed on disk since the load, asks whether to load that
    // change (the dialog stays open to show it) or overwrite it. True: go on and write.
    bool MayOverwrite();

    // The bytes of UserName, Smtp and ResNo as last read from "tvemail.ini".
    std::array<std::string, 3> stored_;
    // What the fields showed after that load, which leaves out what a single line cannot show.
    std::array<QString, 3> shown_;

    // The entries of centerAdr as the file holds them, so that what is written back and what
    // is sent is the file's bytes, not a conversion of what is shown.
    std::vector<std::string> domains_;

    // Both files as loaded or last written here, to see another instance's save at OK.
    tarvelo::FileContent settingsRead_;
    tarvelo::FileContent domainsRead_;
};

extern TSetDialog* SetDialog;
