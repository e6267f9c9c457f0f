#include "app/qt/about.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

#include "base/Version.h"
#include "ui/Texts.h"
#include "ui/qt/Controls.h"
#include "ui/qt/Fonts.h"

QPointer<TAboutBox> AboutBox;

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setFont(tarvelo::PGothicFont());

    Panel1 = new QFrame(this);
    ProgName = new QLabel(tarvelo::Text(tarvelo::texts::kProgNameDesigned), Panel1);
    CopyRight = new QLabel(tarvelo::Text(tarvelo::kCopyrightText), Panel1);
    OKButton = new QPushButton(tarvelo::Text(tarvelo::texts::kOk), this);

    Panel1->setObjectName(QStringLiteral("Panel1"));
    ProgName->setObjectName(QStringLiteral("ProgName"));
    CopyRight->setObjectName(QStringLiteral("CopyRight"));
    OKButton->setObjectName(QStringLiteral("OKButton"));

    Panel1->setGeometry(8, 8, 233, 81);
    // A sunken box is a lowered outer edge around a raised inner one.
    Panel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Panel1->setLineWidth(1);
    Panel1->setAutoFillBackground(true);
    // Both as wide as the panel allows, not as their designed captions: ProgName is given the
    // version text after it is built.
    const int labelWidth = Panel1->contentsRect().right() + 1 - 8 - 24;
    for (QLabel* label : {ProgName, CopyRight}) {
        label->setTextFormat(Qt::PlainText);
        label->adjustSize();
        label->resize(labelWidth, label->height());
    }
    ProgName->move(24, 24);
    CopyRight->move(24, 48);
    OKButton->setGeometry(87, 108, 75, 25);
    OKButton->setDefault(true);

    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    setWindowTitle(tarvelo::Text(tarvelo::texts::kAboutCaption));
    setFixedSize(250, 144);
}

void TAboutBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Designed to open in the middle of the screen, not over the main window.
    if (!event->spontaneous()) {
        tarvelo::CenterOnScreen(this);
    }
}
