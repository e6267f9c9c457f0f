// The About box.
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

class TAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QFrame* Panel1;
    QLabel* ProgName;
    QLabel* CopyRight;
    QPushButton* OKButton;
};

extern TAboutBox* AboutBox;
