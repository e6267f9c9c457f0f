#include "settings/qt/PasswordDialog.h"

#include <QCheckBox>
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

// The designed dialog: client area, then left, top, width, height in client pixels, in the
// submission dialog's grid.
constexpr int kClientWidth = 320;
constexpr int kClientHeight = 177;
constexpr int kLeft = 8;
constexpr int kWidth = 305;
constexpr int kRefusalTop = 8;
constexpr int kRefusalHeight = 28;
constexpr int kLabelTop = 40;
constexpr int kFieldLeft = 88;
constexpr int kFieldWidth = 225;
constexpr int kLoginTop = 64;
constexpr int kPasswordTop = 90;
constexpr int kRememberTop = 116;
constexpr int kFieldHeight = 20;
constexpr int kButtonTop = 144;
constexpr int kOkLeft = 160;
constexpr int kCancelLeft = 240;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;

}  // namespace

TPasswordDialog::TPasswordDialog(QWidget* parent)
    : QDialog(parent),
      Label2(new QLabel(this)),
      Label1(new QLabel(this)),
      Label3(new QLabel(this)),
      Login(new QLineEdit(this)),
      Label4(new QLabel(this)),
      Password(new QLineEdit(this)),
      Remember(new QCheckBox(this)),
      BitBtnOk(new QPushButton(this)),
      BitBtnCan(new QPushButton(this)) {
    setObjectName(QStringLiteral("PasswordDialog"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label3->setObjectName(QStringLiteral("Label3"));
    Login->setObjectName(QStringLiteral("Login"));
    Label4->setObjectName(QStringLiteral("Label4"));
    Password->setObjectName(QStringLiteral("Password"));
    Remember->setObjectName(QStringLiteral("Remember"));
    BitBtnOk->setObjectName(QStringLiteral("BitBtnOk"));
    BitBtnCan->setObjectName(QStringLiteral("BitBtnCan"));

    setFont(tarvelo::PGothicFont());
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    tarvelo::MakeSingleLine(Login);
    Login->setReadOnly(true);
    Login->setFocusPolicy(Qt::NoFocus);
    tarvelo::MakeSingleLine(Password);
    Password->setEchoMode(QLineEdit::Password);
    Label2->setWordWrap(true);
    tarvelo::SetStandardIconWhenShown(BitBtnOk, QStyle::SP_DialogOkButton);
    BitBtnOk->setDefault(true);
    tarvelo::SetStandardIconWhenShown(BitBtnCan, QStyle::SP_DialogCancelButton);

    setFixedSize(kClientWidth, kClientHeight);
    Label2->setGeometry(kLeft, kRefusalTop, kWidth, kRefusalHeight);
    Label1->setGeometry(kLeft, kLabelTop, kWidth, kFieldHeight);
    Label3->move(kLeft, kLoginTop + 2);
    Login->setGeometry(kFieldLeft, kLoginTop, kFieldWidth, kFieldHeight);
    Label4->move(kLeft, kPasswordTop + 2);
    Password->setGeometry(kFieldLeft, kPasswordTop, kFieldWidth, kFieldHeight);
    Remember->setGeometry(kFieldLeft, kRememberTop, kFieldWidth, kFieldHeight);
    BitBtnOk->setGeometry(kOkLeft, kButtonTop, kButtonWidth, kButtonHeight);
    BitBtnCan->setGeometry(kCancelLeft, kButtonTop, kButtonWidth, kButtonHeight);
    tarvelo::ChainTabOrder({Password, Remember, BitBtnOk, BitBtnCan});

    connect(BitBtnOk, &QPushButton::clicked, this, &TPasswordDialog::BitBtnOkClick);
    connect(BitBtnCan, &QPushButton::clicked, this, &TPasswordDialog::BitBtnCanClick);

    setWindowTitle(Text(tarvelo::texts::kPasswordCaption));
    Label3->setText(Text(tarvelo::texts::kLoginLabel));
    Label4->setText(Text(tarvelo::texts::kPasswordLabel));
    for (QLabel* label : {Label3, Label4}) {
        label->adjustSize();
    }
    Remember->setText(Text(tarvelo::texts::kSavePassword));
    Remember->setToolTip(Text(tarvelo::texts::kSavePasswordHint));
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
