#include "mail/qt/Send.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <algorithm>

#include "ui/Texts.h"
#include "ui/qt/Controls.h"
#include "ui/qt/Fonts.h"
#include "ui/qt/WrappedLabel.h"

QPointer<TSendDlg> SendDlg;

TSendDlg::TSendDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("SendDlg"));
    setFont(tarvelo::PGothicFont());

    Bevel1 = new QFrame(this);
    SendLabel = new QLabel(tarvelo::Text(tarvelo::texts::kSendLabelDesigned), this);
    State = new tarvelo::WrappedLabel(tarvelo::Text(tarvelo::texts::kStateDesigned), this);
    CancelBtn = new QPushButton(tarvelo::Text(tarvelo::texts::kCancel), this);

    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    SendLabel->setObjectName(QStringLiteral("SendLabel"));
    State->setObjectName(QStringLiteral("State"));
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));

    Bevel1->setGeometry(8, 8, 297, 65);
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    // Sized to their texts, but never past the bevel's inner edge: a reply longer than that
    // wraps, and the dialog grows to show it whole.
    const int textWidth = Bevel1->geometry().right() - Bevel1->frameWidth() - 32;
    // A reply may hold anything: it is drawn, not shown as empty squares.
    State->setFont(tarvelo::PGothicFontWithFallback());
    for (QLabel* label : {SendLabel, static_cast<QLabel*>(State)}) {
        label->setTextFormat(Qt::PlainText);
        label->setMaximumWidth(textWidth);
    }
    SendLabel->move(32, 24);
    SendLabel->adjustSize();
    State->move(32, 48);
    State->adjustSize();
    CancelBtn->setGeometry(119, 84, 75, 25);

    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    setWindowTitle(tarvelo::Text(tarvelo::texts::kSendCaption));
    FitTexts();
}

void TSendDlg::FitTexts() {
    // The designed dialog holds one row of State; each further row adds its height to the
    // bevel, the button's top and the dialog.
    const int width = std::min(State->sizeHint().width(), State->maximumWidth());
    State->resize(width, State->heightForWidth(width));
    const int extra = std::max(0, State->height() - State->fontMetrics().height());
    Bevel1->setGeometry(8, 8, 297, 65 + extra);
    CancelBtn->setGeometry(119, 84 + extra, 75, 25);
    setFixedSize(313, 116 + extra);
}

bool TSendDlg::event(QEvent* event) {
    if (event->type() == QEvent::LayoutRequest) {
        FitTexts();
    }
    return QDialog::event(event);
}

void TSendDlg::done(int result) {
    // FormClose: every way of closing passes here.
    emit Closing();
    QDialog::done(result);
}

void TSendDlg::showEvent(QShowEvent* event) {
    FitTexts();
    QDialog::showEvent(event);
    // Designed to open in the middle of the screen, not over the main window.
    if (!event->spontaneous()) {
        tarvelo::CenterOnScreen(this);
    }
}
