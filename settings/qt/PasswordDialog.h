// Asks for the password of the submission server at a sending, when no secret store keeps it.
#pragma once

#include <QDialog>

class QCheckBox;
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

    QLabel* Label2;  // why the question comes again: the server's refusal, or empty
    QLabel* Label1;  // whose password: login and server
    QLabel* Label3;
    QLineEdit* Login;  // filled in, not for typing: the login the password goes with
    QLabel* Label4;
    QLineEdit* Password;
    QCheckBox* Remember;  // 「パスワードを保存する」
    QPushButton* BitBtnOk;
    QPushButton* BitBtnCan;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
