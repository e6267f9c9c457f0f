#include "settings/qt/DomainE.h"

#include <QByteArray>
#include <QFrame>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QListWidget>
#include <QListWidgetItem>
#include <QPushButton>
#include <QResizeEvent>
#include <QShowEvent>
#include <QSize>
#include <QString>
#include <QStyle>
#include <QVariant>
#include <algorithm>
#include <string>

#include "settings/LineList.h"
#include "settings/SettingsFiles.h"
#include "settings/SettingsStore.h"
#include "ui/ErrorPath.h"
#include "ui/qt/Controls.h"
#include "ui/qt/Fonts.h"
#include "ui/qt/QtShiftJis.h"

TDomainEdit* DomainEdit = nullptr;

namespace {

using tarvelo::Text;

// The designed window: its outer size, which keeps its width, and the panel at the bottom.
constexpr int kOuterWidth = 335;
constexpr int kOuterHeight = 214;
constexpr int kPanelHeight = 94;
constexpr int kMinimumListHeight = 60;  // three entries and a scroll bar

// Left, top, width, height of the controls on Panel1, in the panel's pixels.
constexpr int kButtonTop = 8;
constexpr int kAddLeft = 8;
constexpr int kDelLeft = 88;
constexpr int kNewDomainLeft = 8;
constexpr int kNewDomainTop = 40;
constexpr int kNewDomainWidth = 313;
constexpr int kNewDomainHeight = 20;
constexpr int kCloseTop = 64;
constexpr int kOkLeft = 168;
constexpr int kCancelLeft = 248;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;

// An entry read from the file keeps its bytes here, so that OK writes it back as it was read
// (bytes that are not Shift-JIS, or an NEC code that the conversion would write as its IBM
// twin, included); an entry the user added has none.
constexpr int kStoredBytesRole = Qt::UserRole;

// The width of the window system's frame around the client area, 0 before it has one.
int FrameWidth(const QWidget* window) {
    return window->frameGeometry().width() - window->width();
}

}  // namespace

TDomainEdit::TDomainEdit(QWidget* parent)
    : QDialog(parent),
      DomainList(new QListWidget(this)),
      Panel1(new QFrame(this)),
      AddBtn(new QPushButton(Panel1)),
      DelBtn(new QPushButton(Panel1)),
      NewDomain(new QLineEdit(Panel1)),
      BitBtnOk(new QPushButton(Panel1)),
      BitBtnCan(new QPushButton(Panel1)) {
    setObjectName(QStringLiteral("DomainEdit"));
    DomainList->setObjectName(QStringLiteral("DomainList"));
    Panel1->setObjectName(QStringLiteral("Panel1"));
    AddBtn->setObjectName(QStringLiteral("AddBtn"));
    DelBtn->setObjectName(QStringLiteral("DelBtn"));
    NewDomain->setObjectName(QStringLiteral("NewDomain"));
    BitBtnOk->setObjectName(QStringLiteral("BitBtnOk"));
    BitBtnCan->setObjectName(QStringLiteral("BitBtnCan"));

    // Sizeable, with the system menu and the close box but no minimise or maximise box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(tarvelo::PGothicFont());
    DomainList->setSelectionMode(QAbstractItemView::SingleSelection);
    DomainList->setSortingEnabled(false);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    tarvelo::MakeSingleLine(NewDomain);
    // Whatever the file holds or the user pastes is drawn, not shown as empty squares.
    for (QWidget* shown : {static_cast<QWidget*>(DomainList), static_cast<QWidget*>(NewDomain)}) {
        shown->setFont(tarvelo::PGothicFontWithFallback());
    }
    tarvelo::SetStandardIconWhenShown(BitBtnOk, QStyle::SP_DialogOkButton);
    BitBtnOk->setDefault(true);
    tarvelo::SetStandardIconWhenShown(BitBtnCan, QStyle::SP_DialogCancelButton);

    // Short enough for a small screen, tall enough to keep the list and the buttons in sight.
    setMinimumHeight(kPanelHeight + kMinimumListHeight);
    resize(kOuterWidth - FrameWidth(this), kOuterHeight);
    AddBtn->setGeometry(kAddLeft, kButtonTop, kButtonWidth, kButtonHeight);
    DelBtn->setGeometry(kDelLeft, kButtonTop, kButtonWidth, kButtonHeight);
    NewDomain->setGeometry(kNewDomainLeft, kNewDomainTop, kNewDomainWidth, kNewDomainHeight);
    BitBtnOk->setGeometry(kOkLeft, kCloseTop, kButtonWidth, kButtonHeight);
    BitBtnCan->setGeometry(kCancelLeft, kCloseTop, kButtonWidth, kButtonHeight);
    FormResize();
    // The panel comes first in the designed tab order, the list after it.
    tarvelo::ChainTabOrder({AddBtn, DelBtn, NewDomain, BitBtnOk, BitBtnCan, DomainList});

    connect(AddBtn, &QPushButton::clicked, this, &TDomainEdit::AddBtnClick);
    connect(DelBtn, &QPushButton::clicked, this, &TDomainEdit::DelBtnClick);
    connect(BitBtnOk, &QPushButton::clicked, this, &TDomainEdit::BitBtnOkClick);
    connect(BitBtnCan, &QPushButton::clicked, this, &TDomainEdit::BitBtnCanClick);
    // finished comes with every closing of the dialog, the close box and Esc included.
    connect(this, &QDialog::finished, this, &TDomainEdit::FormClose);

    setWindowTitle(Text("Tarveloドメインの編集"));
    AddBtn->setText(Text("追加(&A)"));
    DelBtn->setText(Text("削除(&R)"));
    BitBtnOk->setText(Text("OK"));
    BitBtnCan->setText(Text("ｷｬﾝｾﾙ"));
}

void TDomainEdit::FormActivate() {
    tarvelo::RunHandler([this] {
        // Read before anything changes, so that a file that cannot be read leaves the list.
        const tarvelo::LineList domains = tarvelo::ReadLineList(tarvelo::kDomainFileName);
        DomainList->clear();
        for (const std::string& domain : domains) {
            auto* item = new QListWidgetItem(tarvelo::FromShiftJis(domain), DomainList);
            item->setData(kStoredBytesRole, QByteArray::fromStdString(domain));
        }
        DomainList->setCurrentItem(nullptr);
    });
}

void TDomainEdit::AddBtnClick() {
    tarvelo::RunHandler([this] {
        if (NewDomain->text().isEmpty()) {
            return;
        }
        // Refused while it is still in the edit for correction: the file holds Shift-JIS, and
        // the byte written for such a character would name no gateway.
        const QString character = tarvelo::FirstUnencodableCharacter(NewDomain->text());
        if (!character.isEmpty()) {
            throw tarvelo::UnencodableError(Text("ドメイン").toStdString(),
                                            character.toStdString());
        }
        tarvelo::CheckCommandSetting(tarvelo::CommandSetting::GatewayDomain,
                                     tarvelo::ToShiftJis(NewDomain->text()));
        // Appended as typed, duplicates and blanks included; the selection stays where it was.
        DomainList->addItem(NewDomain->text());
        NewDomain->clear();
    });
}

void TDomainEdit::DelBtnClick() {
    const QList<QListWidgetItem*> selected = DomainList->selectedItems();
    // The list never loses its last entry: some gateway must stay in use.
    if (selected.isEmpty() || DomainList->count() == 1) {
        return;
    }
    // The text waits in NewDomain, to be corrected and added again.
    NewDomain->setText(selected.front()->text());
    delete DomainList->takeItem(DomainList->row(selected.front()));
    DomainList->setCurrentItem(nullptr);
}

void TDomainEdit::BitBtnOkClick() {
    tarvelo::RunHandler([this] {
        tarvelo::LineList domains;
        domains.reserve(static_cast<std::size_t>(DomainList->count()));
        for (int i = 0; i < DomainList->count(); ++i) {
            const QListWidgetItem* item = DomainList->item(i);
            const QVariant stored = item->data(kStoredBytesRole);
            domains.push_back(stored.isValid() ? stored.toByteArray().toStdString()
                                               : tarvelo::ToShiftJis(item->text()));
        }
        tarvelo::WriteLineList(tarvelo::kDomainFileName, domains);
        NewDomain->clear();
    });
    // Pressing OK ends the showing even when the write failed; the message box has told why.
    accept();
}

void TDomainEdit::BitBtnCanClick() {
    NewDomain->clear();
    reject();
}

void TDomainEdit::FormClose() {
    NewDomain->clear();
}

void TDomainEdit::FormResize() {
    const int clientWidth = kOuterWidth - FrameWidth(this);
    // Only the height is the user's to change.
    if (width() != clientWidth) {
        resize(clientWidth, height());
    }
    const int listHeight = std::max(0, height() - kPanelHeight);
    DomainList->setGeometry(0, 0, width(), listHeight);
    Panel1->setGeometry(0, listHeight, width(), kPanelHeight);
}

void TDomainEdit::showEvent(QShowEvent* event) {
    // A spontaneous show is the window system restoring the window, not a new showing.
    if (!event->spontaneous()) {
        if (!outerSizeSet_) {
            // The designed size is the outer one, frame included; the window system tells the
            // frame only once the window is up. Later showings keep the user's height.
            const auto fit = [this] {
                const QSize frame = frameGeometry().size() - size();
                resize(kOuterWidth - frame.width(), kOuterHeight - frame.height());
                tarvelo::CenterOnScreen(this);
            };
            fit();
            tarvelo::WhenFramed(this, "outer size", fit);
            outerSizeSet_ = true;
        }
        tarvelo::CenterOnScreen(this);
        FormActivate();
        // Where the tab order starts: Enter then presses a harmless Add, not OK.
        AddBtn->setFocus();
    }
    QDialog::showEvent(event);
}

void TDomainEdit::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    FormResize();
}

void TDomainEdit::keyPressEvent(QKeyEvent* event) {
    // Esc presses the Cancel button, so that cancelling runs one handler however it is done.
    if (event->matches(QKeySequence::Cancel)) {
        BitBtnCan->click();
        return;
    }
    QDialog::keyPressEvent(event);
}
