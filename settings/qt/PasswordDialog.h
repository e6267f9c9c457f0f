// Asks for the password of the submission server at a sending, when no secret store keeps it.
#pragma once

#include <QDialog>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

class TPasswordDialog : public QDialog {
    Q_OBJECT

public:
    explicit TPasswordDialog(QWidget* parent = nullptr);

    void BitBtnOkClick();
    void BitBtnCanClick();

    QLabel* Label1;  // whose password: login and server
    QLineEdit* Password;
    QPushButton* BitBtnOk;
    QPushButton* BitBtnCan;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
