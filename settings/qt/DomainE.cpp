#include "settings/qt/DomainE.h"

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
#include <algorithm>
#include <string>

#include "ui/ErrorPath.h"
#include "ui/Texts.h"
#include "ui/qt/Controls.h"
#include "ui/qt/Fonts.h"

QPointer<TDomainEdit> DomainEdit;

namespace {

using tarvelo::Text;
namespace texts = tarvelo::texts;

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

    setWindowTitle(Text(texts::kDomainEditCaption));
    AddBtn->setText(Text(texts::kAddBtn));
    DelBtn->setText(Text(texts::kDelBtn));
    BitBtnOk->setText(Text(texts::kOk));
    BitBtnCan->setText(Text(texts::kCancel));
}

void TDomainEdit::FormActivate() {
    tarvelo::RunHandler([this] { form_.Load(); });
    Show();
}

void TDomainEdit::AddBtnClick() {
    tarvelo::RunHandler([this] { form_.Add(NewDomain->text().toStdString(), Selected()); });
    Show();
}

void TDomainEdit::DelBtnClick() {
    form_.Delete(Selected());
    Show();
}

void TDomainEdit::BitBtnOkClick() {
    tarvelo::RunHandler([this] { form_.Ok(); });
    Show();
    // Pressing OK ends the showing even when the write failed; the message box has told why.
    accept();
}

void TDomainEdit::BitBtnCanClick() {
    reject();
}

void TDomainEdit::FormClose() {
    form_.Close();
    Show();
}

int TDomainEdit::Selected() const {
    const QList<QListWidgetItem*> selected = DomainList->selectedItems();
    return selected.isEmpty() ? -1 : DomainList->row(selected.front());
}

void TDomainEdit::Show() {
    const tarvelo::DomainListView view = form_.TakeView();
    if (view.entries) {
        DomainList->clear();
        for (const std::string& entry : *view.entries) {
            DomainList->addItem(Text(entry));
        }
    }
    if (view.selected) {
        DomainList->setCurrentRow(*view.selected);
        if (*view.selected < 0) {
            DomainList->setCurrentItem(nullptr);
        }
    }
    if (view.newDomain) {
        NewDomain->setText(Text(*view.newDomain));
    }
    form_.Shown(NewDomain->text().toStdString());
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
