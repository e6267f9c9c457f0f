// The progress dialog of one sending.
#pragma once

#include <QDialog>
#include <QPointer>

#include "ui/qt/WrappedLabel.h"

class QEvent;
class QFrame;
class QLabel;
class QShowEvent;
class QPushButton;

class TSendDlg : public QDialog {
    Q_OBJECT

public:
    explicit TSendDlg(QWidget* parent = nullptr);

    QFrame* Bevel1;
    QLabel* SendLabel;
    tarvelo::WrappedLabel* State;  // shows a server's reply, whole
    QPushButton* CancelBtn;

signals:
    // However the dialog closes, the sending it shows ends with it.
    void Closing();

protected:
    void showEvent(QShowEvent* event) override;
    // A label whose text changed asks for room: the dialog grows to show the reply whole.
    bool event(QEvent* event) override;
    // Every way of closing (the button, Esc) passes here.
    void done(int result) override;

private:
    // Places State under SendLabel at the height its text needs, and the bevel, the button and
    // the dialog's height after it.
    void FitTexts();
};

// Made at the first sending, over the main window; null again when that goes.
extern QPointer<TSendDlg> SendDlg;
