// The editor of the gateway domain list. It works on "tvdomain.ini" alone: it reads the file at
// every showing and writes it at OK; it only appends and deletes, never reorders.
#pragma once

#include <QDialog>
#include <QPointer>

#include "settings/DomainList.h"

class QFrame;
class QKeyEvent;
class QLineEdit;
class QListWidget;
class QPushButton;
class QResizeEvent;
class QShowEvent;

class TDomainEdit : public QDialog {
    Q_OBJECT

public:
    explicit TDomainEdit(QWidget* parent = nullptr);

    // Handlers. Each shows its own errors in a message box and skips the rest of its body.
    void FormActivate();  // the load, at every showing
    void AddBtnClick();
    void DelBtnClick();
    void BitBtnOkClick();
    void BitBtnCanClick();
    void FormClose();  // every closing, by OK, Cancel, Esc or the close box
    void FormResize();

    QListWidget* DomainList;
    QFrame* Panel1;
    QPushButton* AddBtn;
    QPushButton* DelBtn;
    QLineEdit* NewDomain;
    QPushButton* BitBtnOk;
    QPushButton* BitBtnCan;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The selected row, -1 for none.
    int Selected() const;
    // Writes what the form's last calls changed to the controls.
    void Show();

    tarvelo::DomainList form_;
    bool outerSizeSet_ = false;
};

// Made at its first use, over the settings dialog; null again when that goes.
extern QPointer<TDomainEdit> DomainEdit;
