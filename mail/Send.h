// The progress dialog of one sending.
#pragma once

#include <QDialog>

#include "ui/ElidedLabel.h"

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
    tarvelo::ElidedLabel* State;  // shows a server's reply
    QPushButton* CancelBtn;

signals:
    // However the dialog closes, the sending it shows ends with it.
    void Closing();

protected:
    void showEvent(QShowEvent* event) override;
    // Every way of closing (the button, Esc) passes here.
    void done(int result) override;
};

extern TSendDlg* SendDlg;
