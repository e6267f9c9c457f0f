#include "settings/qt/SubmitDialog.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QString>
#include <QStyle>
#include <array>
#include <optional>

#include "base/Error.h"
#include "settings/SettingsStore.h"
#include "settings/qt/SubmitPassword.h"
#include "settings/qt/setting.h"
#include "ui/ErrorPath.h"
#include "ui/qt/Controls.h"
#include "ui/qt/Fonts.h"

TSubmitDialog* SubmitDialog = nullptr;

namespace {

using tarvelo::Security;
using tarvelo::Text;

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

// The entries of Security, in order; the first leaves the choice to the port.
constexpr std::array<std::optional<Security>, 4> kSecurityChoices{
    std::nullopt, Security::None, Security::StartTls, Security::Tls};

int SecurityIndex(std::optional<Security> security) {
    for (std::size_t i = 0; i < kSecurityChoices.size(); ++i) {
        if (kSecurityChoices[i] == security) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

// The login goes to the server in UTF-8 and the CA file is a name of the file system; a text
// left as it was loaded goes back as the bytes it was loaded from.
std::string LoginBytes(const QLineEdit* edit, const std::string& stored) {
    return edit->text() == QString::fromStdString(stored) ? stored
                                                          : edit->text().toUtf8().toStdString();
}

std::string PathBytes(const QLineEdit* edit, const std::string& stored) {
    const QByteArray storedBytes = QByteArray::fromStdString(stored);
    return edit->text() == QFile::decodeName(storedBytes)
               ? stored
               : QFile::encodeName(edit->text()).toStdString();
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

    setWindowTitle(Text("送信サーバの設定"));
    Label1->setText(Text("ポート番号"));
    Label2->setText(Text("暗号化"));
    Label3->setText(Text("ログイン名"));
    Label4->setText(Text("パスワード"));
    Label5->setText(Text("CA ファイル"));
    for (QLabel* label : {Label1, Label2, Label3, Label4, Label5}) {
        label->adjustSize();
    }
    Port->setSpecialValueText(Text("既定"));
    Port->setToolTip(Text("既定: SMTP Server の「:ポート」、なければ 25"));
    Security->addItems({Text("既定"), Text("なし"), Text("STARTTLS"), Text("SSL/TLS")});
    Security->setToolTip(Text("既定: 587 は STARTTLS、465 は SSL/TLS、ほかはなし"));
    Login->setToolTip(Text("空なら認証しません"));
    Password->setToolTip(
        Text("キーリングに保存します(なければ終了まで覚えておきます)。空なら変えません"));
    CaFile->setToolTip(Text("システムの証明書のほかに信頼する CA の PEM ファイル(省略可)"));
    CaFileBtn->setText(Text("参照(&B)"));
    BitBtnOk->setText(Text("OK"));
    BitBtnCan->setText(Text("ｷｬﾝｾﾙ"));
}

void TSubmitDialog::Open() {
    if (FormActivate()) {
        exec();
    }
}

bool TSubmitDialog::FormActivate() {
    bool loaded = false;
    tarvelo::RunHandler([this, &loaded] {
        stored_ = tarvelo::ReadSubmission();
        Port->setValue(stored_.port.value_or(0));
        Security->setCurrentIndex(SecurityIndex(stored_.security));
        Login->setText(QString::fromStdString(stored_.login));
        CaFile->setText(QFile::decodeName(QByteArray::fromStdString(stored_.caFile)));
        loaded = true;
    });
    return loaded;
}

void TSubmitDialog::BitBtnOkClick() {
    bool refused = false;
    tarvelo::RunHandler([this, &refused] {
        // Checked before anything is written, and the dialog stays open for the correction.
        refused = true;
        const tarvelo::SubmissionSettings settings = Settings();
        refused = false;
        tarvelo::WriteSubmission(settings);
        if (!Password->text().isEmpty()) {
            const std::string smtp = SetDialog != nullptr ? SetDialog->SmtpText() : std::string();
            const tarvelo::SecretText password = tarvelo::TakePassword(Password);
            tarvelo::KeepSubmitPassword(smtp, settings.login, password.view());
        }
    });
    if (refused) {
        return;
    }
    // Pressing OK ends the showing even when a write failed; the message box has told why.
    accept();
}

void TSubmitDialog::BitBtnCanClick() {
    reject();
}

void TSubmitDialog::CaFileBtnClick() {
    const QString chosen =
        QFileDialog::getOpenFileName(this, Text("CA ファイル"), CaFile->text(),
                                     Text("PEM 証明書 (*.pem *.crt);;すべてのファイル (*)"));
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

tarvelo::SubmissionSettings TSubmitDialog::Settings() const {
    tarvelo::SubmissionSettings settings;
    if (Port->value() != 0) {
        settings.port = Port->value();
    }
    settings.security = kSecurityChoices[static_cast<std::size_t>(Security->currentIndex())];
    settings.login = LoginBytes(Login, stored_.login);
    settings.caFile = PathBytes(CaFile, stored_.caFile);
    if (settings.login.empty() && !Password->text().isEmpty()) {
        throw tarvelo::Error("パスワードはログイン名といっしょに設定します");
    }
    // The rules of a sending, refused here already rather than at the next sending.
    tarvelo::CheckLogin(settings.login);
    tarvelo::RefuseLoginWithoutTls(SetDialog != nullptr ? SetDialog->SmtpText() : std::string(),
                                   settings);
    if (!Password->text().isEmpty()) {
        QByteArray typed = Password->text().toUtf8();
        const tarvelo::SecretText password(
            std::string_view(typed.constData(), static_cast<std::size_t>(typed.size())));
        typed.fill('\0');
        tarvelo::CheckPassword(password.view());
    }
    return settings;
}
