#include "app/about.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

#include "ui/Controls.h"
#include "ui/Fonts.h"

TAboutBox* AboutBox = nullptr;

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setFont(tarvelo::PGothicFont());

    Panel1 = new QFrame(this);
    ProgName = new QLabel(QStringLiteral("Tarvelo"), Panel1);
    CopyRight = new QLabel(QStringLiteral("Copyright (C) 2026 The Tarvelo developers"), Panel1);
    OKButton = new QPushButton(QStringLiteral("OK"), this);

    Panel1->setObjectName(QStringLiteral("Panel1"));
    ProgName->setObjectName(QStringLiteral("ProgName"));
    CopyRight->setObjectName(QStringLiteral("CopyRight"));
    OKButton->setObjectName(QStringLiteral("OKButton"));

    Panel1->setGeometry(8, 8, 233, 81);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(2);
    Panel1->setAutoFillBackground(true);
    ProgName->move(24, 24);
    ProgName->adjustSize();
    CopyRight->move(24, 48);
    CopyRight->adjustSize();
    OKButton->setGeometry(87, 108, 75, 25);
    OKButton->setDefault(true);

    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    setWindowTitle(tarvelo::Text("ﾊﾞｰｼﾞｮﾝ情報"));
    setFixedSize(250, 144);
}

void TAboutBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Designed to open in the middle of the screen, not over the main window.
    if (!event->spontaneous()) {
        tarvelo::CenterOnScreen(this);
    }
}
