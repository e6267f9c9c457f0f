#include "settings/qt/PasswordDialog.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include "ui/Texts.h"
#include "ui/qt/Controls.h"
#include "ui/qt/Fonts.h"

namespace {

using tarvelo::Text;

// The designed dialog: client area, then left, top, width, height in client pixels.
constexpr int kClientWidth = 320;
constexpr int kClientHeight = 97;
constexpr int kLeft = 8;
constexpr int kWidth = 305;
constexpr int kLabelTop = 8;
constexpr int kPasswordTop = 40;
constexpr int kFieldHeight = 20;
constexpr int kButtonTop = 66;
constexpr int kOkLeft = 160;
constexpr int kCancelLeft = 240;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;

}  // namespace

TPasswordDialog::TPasswordDialog(QWidget* parent)
    : QDialog(parent),
      Label1(new QLabel(this)),
      Password(new QLineEdit(this)),
      BitBtnOk(new QPushButton(this)),
      BitBtnCan(new QPushButton(this)) {
    setObjectName(QStringLiteral("PasswordDialog"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Password->setObjectName(QStringLiteral("Password"));
    BitBtnOk->setObjectName(QStringLiteral("BitBtnOk"));
    BitBtnCan->setObjectName(QStringLiteral("BitBtnCan"));

    setFont(tarvelo::PGothicFont());
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    tarvelo::MakeSingleLine(Password);
    Password->setEchoMode(QLineEdit::Password);
    tarvelo::SetStandardIconWhenShown(BitBtnOk, QStyle::SP_DialogOkButton);
    BitBtnOk->setDefault(true);
    tarvelo::SetStandardIconWhenShown(BitBtnCan, QStyle::SP_DialogCancelButton);

    setFixedSize(kClientWidth, kClientHeight);
    Label1->setGeometry(kLeft, kLabelTop, kWidth, kFieldHeight);
    Password->setGeometry(kLeft, kPasswordTop, kWidth, kFieldHeight);
    BitBtnOk->setGeometry(kOkLeft, kButtonTop, kButtonWidth, kButtonHeight);
    BitBtnCan->setGeometry(kCancelLeft, kButtonTop, kButtonWidth, kButtonHeight);
    tarvelo::ChainTabOrder({Password, BitBtnOk, BitBtnCan});

    connect(BitBtnOk, &QPushButton::clicked, this, &TPasswordDialog::BitBtnOkClick);
    connect(BitBtnCan, &QPushButton::clicked, this, &TPasswordDialog::BitBtnCanClick);

    setWindowTitle(Text(tarvelo::texts::kPasswordCaption));
    Password->setToolTip(Text(tarvelo::texts::kPasswordPromptHint));
    BitBtnOk->setText(Text(tarvelo::texts::kOk));
    BitBtnCan->setText(Text(tarvelo::texts::kCancel));
}

void TPasswordDialog::BitBtnOkClick() {
    accept();
}

void TPasswordDialog::BitBtnCanClick() {
    Password->clear();
    reject();
}

void TPasswordDialog::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Cancel)) {
        BitBtnCan->click();
        return;
    }
    QDialog::keyPressEvent(event);
}
