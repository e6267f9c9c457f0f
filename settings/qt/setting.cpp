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
#include <QStyle>
#include <array>
#include <utility>

#include "settings/qt/DomainE.h"
#include "settings/qt/SubmitDialog.h"
#include "ui/ErrorPath.h"
#include "ui/Texts.h"
#include "ui/qt/Controls.h"
#include "ui/qt/Fonts.h"
#include "ui/qt/MessageBox.h"

TSetDialog* SetDialog = nullptr;

namespace {

using tarvelo::SettingsField;
using tarvelo::Text;
namespace texts = tarvelo::texts;

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

}  // namespace

TSetDialog::TSetDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SetDialog"));
    FormCreate();
}

void TSetDialog::setVisible(bool visible) {
    if (visible && UserName == nullptr) {
        CreateControls();
    }
    QDialog::setVisible(visible);
}

void TSetDialog::CreateControls() {
    Label1 = new QLabel(this);
    UserName = new QLineEdit(this);
    Label2 = new QLabel(this);
    Smtp = new QLineEdit(this);
    Label3 = new QLabel(this);
    ResNo = new QLineEdit(this);
    Label4 = new QLabel(this);
    centerAdr = new QComboBox(this);
    DomainEditBtn = new QPushButton(this);
    SubmitBtn = new QPushButton(this);
    BitBtnOk = new QPushButton(this);
    BitBtnCan = new QPushButton(this);

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

    setWindowTitle(Text(texts::kSetDialogCaption));
    Label1->setText(Text(texts::kMailAddressLabel));
    Label2->setText(Text(texts::kSmtpServerLabel));
    Label3->setText(Text(texts::kResNoLabel));
    Label4->setText(Text(texts::kDomainLabel));
    for (QLabel* label : {Label1, Label2, Label3, Label4}) {
        label->adjustSize();
    }
    UserName->setToolTip(Text(texts::kUserNameHint));
    Smtp->setToolTip(Text(texts::kSmtpHint));
    ResNo->setToolTip(Text(texts::kResNoHint));
    centerAdr->setToolTip(Text(texts::kCenterAdrHint));
    DomainEditBtn->setText(Text(texts::kDomainEditBtn));
    DomainEditBtn->setToolTip(Text(texts::kDomainEditBtnHint));
    SubmitBtn->setText(Text(texts::kSubmitBtn));
    SubmitBtn->setToolTip(Text(texts::kSubmitBtnHint));
    BitBtnOk->setText(Text(texts::kOk));
    BitBtnCan->setText(Text(texts::kCancel));

    // What the loads before the first showing left for the controls.
    WriteControls(held_);
    form_.Shown(Texts());
    BitBtnOk->setEnabled(held_.okEnabled);
    held_ = {};
}

std::string TSetDialog::UserNameText() const {
    return form_.FieldBytes(SettingsField::UserName, FieldText(SettingsField::UserName));
}

std::string TSetDialog::SmtpText() const {
    return form_.FieldBytes(SettingsField::Smtp, FieldText(SettingsField::Smtp));
}

std::string TSetDialog::ResNoText() const {
    return form_.FieldBytes(SettingsField::ResNo, FieldText(SettingsField::ResNo));
}

std::string TSetDialog::FirstDomainText() const {
    return form_.FirstDomain();
}

void TSetDialog::FormCreate() {
    FormActivate();
}

void TSetDialog::FormActivate() {
    tarvelo::RunHandler([this] { form_.Load(Texts()); });
    Show();
}

void TSetDialog::BitBtnOkClick() {
    tarvelo::RunHandler([this] { form_.Ok(Texts(), centerAdr->currentIndex()); });
    Show();
}

void TSetDialog::BitBtnCanClick() {
    reject();
}

void TSetDialog::DomainEditBtnClick() {
    tarvelo::RunHandler([this] {
        form_.OpenDomainEditor(centerAdr->currentIndex());
        if (DomainEdit == nullptr) {
            DomainEdit = new TDomainEdit(this);
        }
        DomainEdit->exec();
        form_.DomainEditorClosed();
    });
    Show();
}

void TSetDialog::SubmitBtnClick() {
    // Its own file, written by its own OK: this dialog's fields and OK are left as they are.
    if (SubmitDialog == nullptr) {
        SubmitDialog = new TSubmitDialog(this);
    }
    SubmitDialog->Open();
}

void TSetDialog::UserNameChange() {
    BitBtnOk->setEnabled(form_.Edited());
}

void TSetDialog::SmtpChange() {
    BitBtnOk->setEnabled(form_.Edited());
}

void TSetDialog::ResNoChange() {
    BitBtnOk->setEnabled(form_.Edited());
}

void TSetDialog::centerAdrChange() {
    BitBtnOk->setEnabled(form_.Edited());
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

std::string TSetDialog::FieldText(SettingsField field) const {
    const auto i = static_cast<std::size_t>(field);
    if (UserName == nullptr) {
        return held_.fields[i].value_or(std::string());
    }
    const std::array<const QLineEdit*, tarvelo::kSettingsFields> edits{UserName, Smtp, ResNo};
    return edits[i]->text().toStdString();
}

tarvelo::SettingsTexts TSetDialog::Texts() const {
    return {FieldText(SettingsField::UserName), FieldText(SettingsField::Smtp),
            FieldText(SettingsField::ResNo)};
}

void TSetDialog::Show() {
    tarvelo::SettingsView view = form_.TakeView();
    if (UserName == nullptr) {
        tarvelo::LayOver(held_, std::move(view));
        return;
    }
    WriteControls(view);
    form_.Shown(Texts());
    BitBtnOk->setEnabled(view.okEnabled);
    if (view.question) {
        const tarvelo::ChangedAnswer answer = Ask(*view.question);
        tarvelo::RunHandler([this, answer] { form_.Answer(answer); });
        Show();
    } else if (view.close) {
        accept();
    }
}

void TSetDialog::WriteControls(const tarvelo::SettingsView& view) {
    if (view.domains) {
        centerAdr->clear();
        for (const std::string& domain : *view.domains) {
            centerAdr->addItem(Text(domain));
        }
    }
    if (view.selected) {
        centerAdr->setCurrentIndex(*view.selected);
    }
    const std::array<QLineEdit*, tarvelo::kSettingsFields> edits{UserName, Smtp, ResNo};
    for (std::size_t i = 0; i < edits.size(); ++i) {
        if (view.fields[i]) {
            edits[i]->setText(Text(*view.fields[i]));
        }
    }
}

tarvelo::ChangedAnswer TSetDialog::Ask(const std::string& question) {
    QMessageBox box(QMessageBox::Question, QString(), Text(question), QMessageBox::NoButton, this);
    tarvelo::StyleMessageBox(box);
    QPushButton* load = box.addButton(Text(texts::kLoadAnswer), QMessageBox::AcceptRole);
    QPushButton* overwrite =
        box.addButton(Text(texts::kOverwriteAnswer), QMessageBox::DestructiveRole);
    box.setEscapeButton(box.addButton(Text(texts::kCancel), QMessageBox::RejectRole));
    box.setDefaultButton(load);
    box.exec();
    if (box.clickedButton() == load) {
        return tarvelo::ChangedAnswer::Load;
    }
    return box.clickedButton() == overwrite ? tarvelo::ChangedAnswer::Overwrite
                                            : tarvelo::ChangedAnswer::Cancel;
}
