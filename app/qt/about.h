// The About box.
#pragma once

#include <QDialog>
#include <QPointer>

class QFrame;
class QLabel;
class QShowEvent;
class QPushButton;

class TAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QFrame* Panel1;
    QLabel* ProgName;
    QLabel* CopyRight;
    QPushButton* OKButton;

protected:
    void showEvent(QShowEvent* event) override;
};

// Made at its first use, over the main window; null again when that goes.
extern QPointer<TAboutBox> AboutBox;
