#include "settings/qt/setting.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>
#include <QShowEvent>
#include <QString>
#include <QStringList>
#include <QStyle>
#include <string_view>

#include "platform/ShiftJis.h"
#include "settings/LineList.h"
#include "settings/SettingsFiles.h"
#include "settings/SettingsStore.h"
#include "settings/qt/DomainE.h"
#include "settings/qt/SubmitDialog.h"
#include "ui/ErrorPath.h"
#include "ui/qt/Controls.h"
#include "ui/qt/Fonts.h"
#include "ui/qt/MessageBox.h"
#include "ui/qt/QtShiftJis.h"

TSetDialog* SetDialog = nullptr;

namespace {

using tarvelo::Text;

using tarvelo::FromShiftJis;
using tarvelo::LineList;
using tarvelo::ToShiftJis;

// The designed dialog: client area, then left, top, width, height of each control in client
// pixels; the labels take the size of their captions.
constexpr int kClientWidth = 320;
constexpr int kClientHeight = 167;
constexpr int kLabelLeft = 8;
constexpr int kFieldLeft = 88;
constexpr int kFieldWidth = 225;
constexpr int kFieldHeight = 20;
constexpr int kUserNameTop = 8;
constexpr int kSmtpTop = 40;
constexpr int kResNoTop = 72;
constexpr int kDomainTop = 104;
constexpr int kCenterAdrWidth = 169;
constexpr int kDomainEditBtnLeft = 264;
constexpr int kDomainEditBtnWidth = 51;
constexpr int kButtonTop = 136;
// In the free space left of OK, so that the designed controls keep their places.
constexpr int kSubmitBtnLeft = 8;
constexpr int kSubmitBtnWidth = 105;
constexpr int kOkLeft = 160;
constexpr int kCancelLeft = 240;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;

// Setting the text that a field already holds is no change and must not enable OK; only a
// different text is set, and then it counts exactly as if it had been typed.
void SetFieldText(QLineEdit* edit, std::string_view sjis) {
    const QString text = FromShiftJis(sjis);
    if (edit->text() != text) {
        edit->setText(text);
    }
}

// The bytes of a field: those read from the file while it shows the text loaded, so that a value
// the user left alone goes back byte for byte (bytes that are not Shift-JIS, an NEC code that the
// conversion would write as its IBM twin, or a zero byte that the field does not show,
// included); the typed text once it differs from what the load showed.
std::string FieldBytes(const QLineEdit* edit, const std::string& stored, const QString& shown) {
    return edit->text() == shown ? stored : ToShiftJis(edit->text());
}

}  // namespace

TSetDialog::TSetDialog(QWidget* parent)
    : QDialog(parent),
      Label1(new QLabel(this)),
      UserName(new QLineEdit(this)),
      Label2(new QLabel(this)),
      Smtp(new QLineEdit(this)),
      Label3(new QLabel(this)),
      ResNo(new QLineEdit(this)),
      Label4(new QLabel(this)),
      centerAdr(new QComboBox(this)),
      DomainEditBtn(new QPushButton(this)),
      SubmitBtn(new QPushButton(this)),
      BitBtnOk(new QPushButton(this)),
      BitBtnCan(new QPushButton(this)) {
    setObjectName(QStringLiteral("SetDialog"));
    Label1->setObjectName(QStringLiteral("Label1"));
    UserName->setObjectName(QStringLiteral("UserName"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Smtp->setObjectName(QStringLiteral("Smtp"));
    Label3->setObjectName(QStringLiteral("Label3"));
    ResNo->setObjectName(QStringLiteral("ResNo"));
    Label4->setObjectName(QStringLiteral("Label4"));
    centerAdr->setObjectName(QStringLiteral("centerAdr"));
    DomainEditBtn->setObjectName(QStringLiteral("DomainEditBtn"));
    SubmitBtn->setObjectName(QStringLiteral("SubmitBtn"));
    BitBtnOk->setObjectName(QStringLiteral("BitBtnOk"));
    BitBtnCan->setObjectName(QStringLiteral("BitBtnCan"));

    setFont(tarvelo::PGothicFont());
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    for (QLineEdit* edit : {UserName, Smtp, ResNo}) {
        tarvelo::MakeSingleLine(edit);
        // Whatever the files hold or the user pastes is drawn, not shown as empty squares.
        edit->setFont(tarvelo::PGothicFontWithFallback());
    }
    centerAdr->setEditable(false);
    tarvelo::DropDownBelow(centerAdr);
    centerAdr->setFont(tarvelo::GothicFont());
    QPalette blackText = centerAdr->palette();
    blackText.setColor(QPalette::Text, Qt::black);
    blackText.setColor(QPalette::ButtonText, Qt::black);
    centerAdr->setPalette(blackText);
    tarvelo::SetStandardIconWhenShown(BitBtnOk, QStyle::SP_DialogOkButton);
    BitBtnOk->setDefault(true);
    // Enabled by the first change of a setting, the load at creation included.
    BitBtnOk->setEnabled(false);
    tarvelo::SetStandardIconWhenShown(BitBtnCan, QStyle::SP_DialogCancelButton);

    setFixedSize(kClientWidth, kClientHeight);
    Label1->move(kLabelLeft, kUserNameTop);
    UserName->setGeometry(kFieldLeft, kUserNameTop, kFieldWidth, kFieldHeight);
    Label2->move(kLabelLeft, kSmtpTop);
    Smtp->setGeometry(kFieldLeft, kSmtpTop, kFieldWidth, kFieldHeight);
    Label3->move(kLabelLeft, kResNoTop);
    ResNo->setGeometry(kFieldLeft, kResNoTop, kFieldWidth, kFieldHeight);
    Label4->move(kLabelLeft, kDomainTop);
    centerAdr->setGeometry(kFieldLeft, kDomainTop, kCenterAdrWidth, kFieldHeight);
    DomainEditBtn->setGeometry(kDomainEditBtnLeft, kDomainTop, kDomainEditBtnWidth, kButtonHeight);
    SubmitBtn->setGeometry(kSubmitBtnLeft, kButtonTop, kSubmitBtnWidth, kButtonHeight);
    BitBtnOk->setGeometry(kOkLeft, kButtonTop, kButtonWidth, kButtonHeight);
    BitBtnCan->setGeometry(kCancelLeft, kButtonTop, kButtonWidth, kButtonHeight);
    tarvelo::ChainTabOrder(
        {UserName, Smtp, ResNo, centerAdr, DomainEditBtn, SubmitBtn, BitBtnOk, BitBtnCan});

    connect(UserName, &QLineEdit::textChanged, this, &TSetDialog::UserNameChange);
    connect(Smtp, &QLineEdit::textChanged, this, &TSetDialog::SmtpChange);
    connect(ResNo, &QLineEdit::textChanged, this, &TSetDialog::ResNoChange);
    // activated, not currentIndexChanged: only a pick by the user counts, never the load.
    connect(centerAdr, &QComboBox::activated, this, &TSetDialog::centerAdrChange);
    connect(DomainEditBtn, &QPushButton::clicked, this, &TSetDialog::DomainEditBtnClick);
    connect(SubmitBtn, &QPushButton::clicked, this, &TSetDialog::SubmitBtnClick);
    connect(BitBtnOk, &QPushButton::clicked, this, &TSetDialog::BitBtnOkClick);
    connect(BitBtnCan, &QPushButton::clicked, this, &TSetDialog::BitBtnCanClick);

    setWindowTitle(Text("環境設定"));
    Label1->setText(Text("Mail Address"));
    Label2->setText(Text("SMTP Server"));
    Label3->setText(Text("返答先番号"));
    Label4->setText(Text("送信先ドメイン"));
    for (QLabel* label : {Label1, Label2, Label3, Label4}) {
        label->adjustSize();
    }
    UserName->setToolTip(Text("自分のメールアドレスを入力します"));
    Smtp->setToolTip(Text("メールサーバのアドレスを入力します"));
    ResNo->setToolTip(Text("自分のPHS番号などを入力します(省略可)"));
    centerAdr->setToolTip(Text("相手のPHS会社のドメインを指定します"));
    DomainEditBtn->setText(Text("編集(&E)"));
    DomainEditBtn->setToolTip(Text("通常、編集する必要はありません"));
    SubmitBtn->setText(Text("送信サーバ(&S)..."));
    SubmitBtn->setToolTip(Text("ポート、暗号化、ログインを設定します(ポート 25 なら不要)"));
    BitBtnOk->setText(Text("OK"));
    BitBtnCan->setText(Text("ｷｬﾝｾﾙ"));

    FormCreate();
}

std::string TSetDialog::UserNameText() const {
    return FieldBytes(UserName, stored_[0], shown_[0]);
}

std::string TSetDialog::SmtpText() const {
    return FieldBytes(Smtp, stored_[1], shown_[1]);
}

std::string TSetDialog::ResNoText() const {
    return FieldBytes(ResNo, stored_[2], shown_[2]);
}

std::string TSetDialog::FirstDomainText() const {
    return domains_.empty() ? std::string() : domains_.front();
}

void TSetDialog::FormCreate() {
    FormActivate();
}

void TSetDialog::FormActivate() {
    tarvelo::RunHandler([this] { Load(); });
}

void TSetDialog::BitBtnOkClick() {
    bool stayOpen = false;
    tarvelo::RunHandler([this, &stayOpen] {
        // Checked before anything is written, and the dialog stays open for the correction.
        stayOpen = true;
        RefuseUnencodableText();
        RefuseCommandCharacters();
        if (!MayOverwrite()) {
            return;
        }
        stayOpen = false;
        PromoteSelectedDomain();
        SaveSettings();
    });
    if (stayOpen) {
        return;
    }
    // Pressing OK ends the showing even when a write failed; the message box has told why.
    accept();
}

void TSetDialog::BitBtnCanClick() {
    reject();
}

void TSetDialog::DomainEditBtnClick() {
    tarvelo::RunHandler([this] {
        // The editor reads the file, so it must see the current choice in first place.
        PromoteSelectedDomain();
        if (DomainEdit != nullptr) {
            DomainEdit->exec();
        }
        // Only the list: what the user typed into the fields meanwhile is theirs to save.
        LoadDomains();
    });
}

void TSetDialog::SubmitBtnClick() {
    // Its own file, written by its own OK: this dialog's fields and OK are left as they are.
    if (SubmitDialog != nullptr) {
        SubmitDialog->Open();
    }
}

void TSetDialog::UserNameChange() {
    EnableOk();
}

void TSetDialog::SmtpChange() {
    EnableOk();
}

void TSetDialog::ResNoChange() {
    EnableOk();
}

void TSetDialog::centerAdrChange() {
    EnableOk();
}

void TSetDialog::showEvent(QShowEvent* event) {
    // A spontaneous show is the window system restoring the dialog, not a new showing.
    if (!event->spontaneous()) {
        tarvelo::CenterOnScreen(this);
        FormActivate();
    }
    QDialog::showEvent(event);
}

void TSetDialog::keyPressEvent(QKeyEvent* event) {
    // Esc presses the Cancel button, so that cancelling runs one handler however it is done.
    if (event->matches(QKeySequence::Cancel)) {
        BitBtnCan->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TSetDialog::Load() {
    LoadDomains();
    LoadSettings();
}

void TSetDialog::LoadDomains() {
    domains_ = tarvelo::LoadOrCreateDomains(domainsRead_);
    centerAdr->clear();
    for (const std::string& domain : domains_) {
        centerAdr->addItem(FromShiftJis(domain));
    }
    // Whatever was picked before, each load shows the gateway in use.
    centerAdr->setCurrentIndex(centerAdr->count() > 0 ? 0 : -1);
}

void TSetDialog::LoadSettings() {
    const LineList settings = tarvelo::LoadOrCreateSettingsLines(settingsRead_);
    QLineEdit* const fields[] = {UserName, Smtp, ResNo};
    for (std::size_t i = 0; i < stored_.size(); ++i) {
        // A missing line stops here: the fields before it keep what was just loaded.
        stored_[i] = tarvelo::LineAt(settings, i);
        SetFieldText(fields[i], stored_[i]);
        shown_[i] = fields[i]->text();
    }
}

void TSetDialog::RefuseUnencodableText() const {
    const QLabel* const labels[] = {Label1, Label2, Label3};
    const QLineEdit* const fields[] = {UserName, Smtp, ResNo};
    for (std::size_t i = 0; i < stored_.size(); ++i) {
        const QString text = fields[i]->text();
        // What was read goes back as it came, whatever it holds; only typed text is judged.
        if (text == shown_[i]) {
            continue;
        }
        const QString character = tarvelo::FirstUnencodableCharacter(text);
        if (!character.isEmpty()) {
            throw tarvelo::UnencodableError(labels[i]->text().toStdString(),
                                            character.toStdString());
        }
    }
}

void TSetDialog::RefuseCommandCharacters() const {
    using tarvelo::CommandSetting;
    tarvelo::CheckCommandSetting(CommandSetting::MailAddress, UserNameText());
    tarvelo::CheckCommandSetting(CommandSetting::SmtpServer, SmtpText());
    // The gateway that OK puts in use; the others are judged when they are picked.
    const int selected = centerAdr->currentIndex();
    if (selected >= 0 && static_cast<std::size_t>(selected) < domains_.size()) {
        tarvelo::CheckCommandSetting(CommandSetting::GatewayDomain,
                                     domains_[static_cast<std::size_t>(selected)]);
    }
}

void TSetDialog::PromoteSelectedDomain() {
    const int selected = centerAdr->currentIndex();
    if (selected <= 0) {
        return;
    }
    const QString first = centerAdr->itemText(0);
    centerAdr->setItemText(0, centerAdr->itemText(selected));
    centerAdr->setItemText(selected, first);
    tarvelo::PromoteDomain(domains_, static_cast<std::size_t>(selected));
    domainsRead_ = tarvelo::FormatLines(domains_);
}

void TSetDialog::SaveSettings() {
    const LineList lines{UserNameText(), SmtpText(), ResNoText()};
    tarvelo::WriteLineList(tarvelo::kSettingsFileName, lines);
    settingsRead_ = tarvelo::FormatLines(lines);
}

bool TSetDialog::MayOverwrite() {
    QStringList changed;
    if (tarvelo::ChangedOnDisk(tarvelo::kSettingsFileName, settingsRead_)) {
        changed << QString::fromUtf8(tarvelo::kSettingsFileName);
    }
    // The domain file is written only by a promotion.
    if (centerAdr->currentIndex() > 0 &&
        tarvelo::ChangedOnDisk(tarvelo::kDomainFileName, domainsRead_)) {
        changed << QString::fromUtf8(tarvelo::kDomainFileName);
    }
    if (changed.isEmpty()) {
        return true;
    }
    QMessageBox box(QMessageBox::Question, QString(),
                    Text("ﾌｧｲﾙ ") + changed.join(Text("、")) +
                        Text(" は、この画面を開いた後にほかの Tarvelo などで変更されています。\n\n"
                             "読み込む: その変更を読み込みます。ここで入力した内容は消えます。\n"
                             "上書き: ここで入力した内容を保存します。その変更は消えます。"),
                    QMessageBox::NoButton, this);
    tarvelo::StyleMessageBox(box);
    QPushButton* load = box.addButton(Text("読み込む(&L)"), QMessageBox::AcceptRole);
    QPushButton* overwrite = box.addButton(Text("上書き(&O)"), QMessageBox::DestructiveRole);
    box.setEscapeButton(box.addButton(Text("ｷｬﾝｾﾙ"), QMessageBox::RejectRole));
    box.setDefaultButton(load);
    box.exec();
    if (box.clickedButton() == load) {
        Load();
    }
    return box.clickedButton() == overwrite;
}

void TSetDialog::EnableOk() {
    // Nothing disables it again: once a setting has changed, OK stays available.
    BitBtnOk->setEnabled(true);
}
