#include "settings/qt/SubmitDialog.h"

#include <QComboBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QString>
#include <QStringList>
#include <QStyle>

#include "settings/qt/SubmitPassword.h"
#include "settings/qt/setting.h"
#include "ui/ErrorPath.h"
#include "ui/Texts.h"
#include "ui/qt/Controls.h"
#include "ui/qt/Fonts.h"

QPointer<TSubmitDialog> SubmitDialog;

namespace {

using tarvelo::Text;
namespace texts = tarvelo::texts;

// The designed dialog: client area, then left, top, width, height in client pixels, in the
// settings dialog's grid.
constexpr int kClientWidth = 320;
constexpr int kClientHeight = 199;
constexpr int kLabelLeft = 8;
constexpr int kFieldLeft = 88;
constexpr int kFieldWidth = 225;
constexpr int kFieldHeight = 20;
constexpr int kPortTop = 8;
constexpr int kPortWidth = 81;
constexpr int kSecurityTop = 40;
constexpr int kSecurityWidth = 121;
constexpr int kLoginTop = 72;
constexpr int kPasswordTop = 104;
constexpr int kCaFileTop = 136;
constexpr int kCaFileWidth = 169;
constexpr int kCaFileBtnLeft = 264;
constexpr int kCaFileBtnWidth = 51;
constexpr int kButtonTop = 168;
constexpr int kOkLeft = 160;
constexpr int kCancelLeft = 240;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;

// A kind of file for the chooser, as Qt writes it: "name (patterns)".
QString FileKind(std::string_view name, std::string_view patterns) {
    return Text(name) + QStringLiteral(" (") + Text(patterns) + QStringLiteral(")");
}

}  // namespace

TSubmitDialog::TSubmitDialog(QWidget* parent)
    : QDialog(parent),
      Label1(new QLabel(this)),
      Port(new QSpinBox(this)),
      Label2(new QLabel(this)),
      Security(new QComboBox(this)),
      Label3(new QLabel(this)),
      Login(new QLineEdit(this)),
      Label4(new QLabel(this)),
      Password(new QLineEdit(this)),
      Label5(new QLabel(this)),
      CaFile(new QLineEdit(this)),
      CaFileBtn(new QPushButton(this)),
      BitBtnOk(new QPushButton(this)),
      BitBtnCan(new QPushButton(this)) {
    setObjectName(QStringLiteral("SubmitDialog"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Port->setObjectName(QStringLiteral("Port"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Security->setObjectName(QStringLiteral("Security"));
    Label3->setObjectName(QStringLiteral("Label3"));
    Login->setObjectName(QStringLiteral("Login"));
    Label4->setObjectName(QStringLiteral("Label4"));
    Password->setObjectName(QStringLiteral("Password"));
    Label5->setObjectName(QStringLiteral("Label5"));
    CaFile->setObjectName(QStringLiteral("CaFile"));
    CaFileBtn->setObjectName(QStringLiteral("CaFileBtn"));
    BitBtnOk->setObjectName(QStringLiteral("BitBtnOk"));
    BitBtnCan->setObjectName(QStringLiteral("BitBtnCan"));

    setFont(tarvelo::PGothicFont());
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    // 0 is no port, shown as the word for "the default".
    Port->setRange(0, 65535);
    for (QLineEdit* edit : {Login, Password, CaFile}) {
        tarvelo::MakeSingleLine(edit);
    }
    Password->setEchoMode(QLineEdit::Password);
    Security->setEditable(false);
    tarvelo::SetStandardIconWhenShown(BitBtnOk, QStyle::SP_DialogOkButton);
    BitBtnOk->setDefault(true);
    tarvelo::SetStandardIconWhenShown(BitBtnCan, QStyle::SP_DialogCancelButton);

    setFixedSize(kClientWidth, kClientHeight);
    Label1->move(kLabelLeft, kPortTop);
    Port->setGeometry(kFieldLeft, kPortTop, kPortWidth, kFieldHeight);
    Label2->move(kLabelLeft, kSecurityTop);
    Security->setGeometry(kFieldLeft, kSecurityTop, kSecurityWidth, kFieldHeight);
    Label3->move(kLabelLeft, kLoginTop);
    Login->setGeometry(kFieldLeft, kLoginTop, kFieldWidth, kFieldHeight);
    Label4->move(kLabelLeft, kPasswordTop);
    Password->setGeometry(kFieldLeft, kPasswordTop, kFieldWidth, kFieldHeight);
    Label5->move(kLabelLeft, kCaFileTop);
    CaFile->setGeometry(kFieldLeft, kCaFileTop, kCaFileWidth, kFieldHeight);
    CaFileBtn->setGeometry(kCaFileBtnLeft, kCaFileTop, kCaFileBtnWidth, kButtonHeight);
    BitBtnOk->setGeometry(kOkLeft, kButtonTop, kButtonWidth, kButtonHeight);
    BitBtnCan->setGeometry(kCancelLeft, kButtonTop, kButtonWidth, kButtonHeight);
    tarvelo::ChainTabOrder(
        {Port, Security, Login, Password, CaFile, CaFileBtn, BitBtnOk, BitBtnCan});

    connect(CaFileBtn, &QPushButton::clicked, this, &TSubmitDialog::CaFileBtnClick);
    connect(BitBtnOk, &QPushButton::clicked, this, &TSubmitDialog::BitBtnOkClick);
    connect(BitBtnCan, &QPushButton::clicked, this, &TSubmitDialog::BitBtnCanClick);
    // finished comes with every closing of the dialog, the close box and Esc included.
    connect(this, &QDialog::finished, this, &TSubmitDialog::FormClose);

    setWindowTitle(Text(texts::kSubmitCaption));
    Label1->setText(Text(texts::kPortLabel));
    Label2->setText(Text(texts::kSecurityLabel));
    Label3->setText(Text(texts::kLoginLabel));
    Label4->setText(Text(texts::kPasswordLabel));
    Label5->setText(Text(texts::kCaFileLabel));
    for (QLabel* label : {Label1, Label2, Label3, Label4, Label5}) {
        label->adjustSize();
    }
    Port->setSpecialValueText(Text(texts::kDefaultChoice));
    Port->setToolTip(Text(texts::kPortHint));
    Security->addItems({Text(texts::kDefaultChoice), Text(texts::kSecurityNone),
                        Text(texts::kSecurityStartTls), Text(texts::kSecurityTls)});
    Security->setToolTip(Text(texts::kSecurityHint));
    Login->setToolTip(Text(texts::kLoginHint));
    Password->setToolTip(Text(texts::kPasswordHint));
    CaFile->setToolTip(Text(texts::kCaFileHint));
    CaFileBtn->setText(Text(texts::kCaFileBtn));
    BitBtnOk->setText(Text(texts::kOk));
    BitBtnCan->setText(Text(texts::kCancel));
}

void TSubmitDialog::Open() {
    if (FormActivate()) {
        exec();
    }
}

bool TSubmitDialog::FormActivate() {
    bool loaded = false;
    tarvelo::RunHandler([this, &loaded] {
        const tarvelo::SubmitTexts texts = form_.Load();
        Port->setValue(texts.port);
        Security->setCurrentIndex(texts.security);
        Login->setText(Text(texts.login));
        CaFile->setText(Text(texts.caFile));
        form_.Shown(Texts());
        loaded = true;
    });
    return loaded;
}

void TSubmitDialog::BitBtnOkClick() {
    tarvelo::RunHandler([this] {
        const std::string smtp = SetDialog != nullptr ? SetDialog->SmtpText() : std::string();
        // Taken out of the edit only once OK goes through; a refusal leaves it for correction.
        const tarvelo::SecretText typed = tarvelo::PasswordOf(Password);
        const tarvelo::SubmissionSettings settings = form_.Ok(Texts(), smtp, typed.view());
        if (!typed.empty()) {
            Password->clear();
            tarvelo::KeepSubmitPassword(smtp, settings.login, typed.view());
        }
    });
    // Pressing OK ends the showing even when a write failed; the message box has told why.
    if (form_.Closes()) {
        accept();
    }
}

void TSubmitDialog::BitBtnCanClick() {
    reject();
}

void TSubmitDialog::CaFileBtnClick() {
    const QString chosen =
        QFileDialog::getOpenFileName(this, Text(texts::kCaFileLabel), CaFile->text(),
                                     QStringList{FileKind(texts::kPemFiles, texts::kPemPatterns),
                                                 FileKind(texts::kAllFiles, texts::kAllPatterns)}
                                         .join(QStringLiteral(";;")));
    if (!chosen.isEmpty()) {
        CaFile->setText(chosen);
    }
}

void TSubmitDialog::FormClose() {
    Password->clear();
}

void TSubmitDialog::showEvent(QShowEvent* event) {
    // A spontaneous show is the window system restoring the dialog, not a new showing.
    if (!event->spontaneous()) {
        // The load came before the showing (Open).
        tarvelo::CenterOnScreen(this);
        // Each showing starts at the top, wherever the last one was left.
        Port->setFocus();
    }
    QDialog::showEvent(event);
}

void TSubmitDialog::keyPressEvent(QKeyEvent* event) {
    // Esc presses the Cancel button, so that cancelling runs one handler however it is done.
    if (event->matches(QKeySequence::Cancel)) {
        BitBtnCan->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

tarvelo::SubmitTexts TSubmitDialog::Texts() const {
    return {Port->value(), Security->currentIndex(), Login->text().toStdString(),
            CaFile->text().toStdString()};
}
