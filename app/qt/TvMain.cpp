#include "app/qt/TvMain.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QStringList>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <initializer_list>
#include <utility>

#include "app/qt/HandsetPreview.h"
#include "app/qt/MailImageEdit.h"
#include "app/qt/UnsendableMarks.h"
#include "app/qt/about.h"
#include "base/Version.h"
#include "compose/WindowWidths.h"
#include "mail/tls/TlsTransport.h"
#include "settings/qt/SubmitPassword.h"
#include "settings/qt/setting.h"
#include "ui/ErrorPath.h"
#include "ui/Texts.h"
#include "ui/qt/Controls.h"
#include "ui/qt/Fonts.h"
#include "ui/qt/QtShiftJis.h"
#include "ui/qt/UpDown.h"

TForm1* Form1 = nullptr;

namespace {

using tarvelo::Text;
namespace texts = tarvelo::texts;

using tarvelo::FromShiftJis;
using tarvelo::ToShiftJis;

// The read-only boxes and the mail image are drawn on the button face, as the designed window.
void UseButtonFace(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    widget->setPalette(palette);
}

// The steps of building the main window, in the order the constructor takes them.

void CreateControls(TForm1& form) {
    form.MailMes = new QTextEdit(&form);
    form.MesL = new QLabel(Text(texts::kMesL), &form);
    form.PhsNoL = new QLabel(Text(texts::kPhsNoL), &form);
    form.PhsNo = new QLineEdit(&form);
    form.TvMes = new tarvelo::MailImageEdit(&form);
    form.Label3 = new QLabel(Text(texts::kLabel3), &form);
    form.TvImg = new tarvelo::HandsetPreview(&form);
    form.Label1 = new QLabel(Text(texts::kLabel1), &form);
    form.Label2 = new QLabel(Text(texts::kLabel2), &form);
    form.rcvClm = new QLineEdit(&form);
    form.ClmUpDown = new tarvelo::UpDown(&form);
    form.Label4 = new QLabel(Text(texts::kLabel4), &form);
    const tarvelo::MainView start = tarvelo::StartView();
    form.msgErr = new QPlainTextEdit(Text(start.msgErr), &form);
    form.phsErr = new QPlainTextEdit(Text(start.phsErr), &form);
    form.sendButton = new QPushButton(Text(texts::kSendButton), &form);
    form.SetBtn = new QPushButton(Text(texts::kSetBtn), &form);
    form.NonCng = new QCheckBox(Text(texts::kNonCng), &form);
    form.AboutBtn = new QPushButton(Text(texts::kAboutBtn), &form);
    form.Label5 = new QLabel(Text(texts::kLabel5), &form);
    form.LogClrBtn = new QPushButton(Text(texts::kLogClrBtn), &form);
    form.LogSaveBtn = new QPushButton(Text(texts::kLogSaveBtn), &form);
    form.Log = new QTextEdit(&form);
    form.Timer1 = new QTimer(&form);
    form.Timer1->setObjectName(QStringLiteral("Timer1"));
    form.Timer1->setInterval(50);
}

// Names, positions and sizes as designed.
void PlaceControls(TForm1& form) {
    const struct {
        QWidget* widget;
        const char* name;
        QRect bounds;
    } layout[] = {
        {form.MailMes, "MailMes", {72, 0, 281, 81}},
        {form.MesL, "MesL", {8, 40, 38, 17}},
        {form.PhsNoL, "PhsNoL", {8, 88, 40, 12}},
        {form.PhsNo, "PhsNo", {72, 88, 281, 20}},
        {form.TvMes, "TvMes", {72, 112, 281, 81}},
        {form.Label3, "Label3", {8, 144, 53, 12}},
        {form.TvImg, "TvImg", {72, 200, 154, 137}},
        {form.Label1, "Label1", {8, 224, 43, 12}},
        {form.Label2, "Label2", {8, 240, 55, 12}},
        {form.rcvClm, "rcvClm", {24, 272, 17, 20}},
        {form.ClmUpDown, "ClmUpDown", {41, 272, 15, 20}},
        {form.Label4, "Label4", {8, 275, 12, 17}},
        {form.msgErr, "msgErr", {264, 200, 89, 33}},
        {form.phsErr, "phsErr", {264, 240, 89, 33}},
        {form.sendButton, "sendButton", {264, 280, 89, 25}},
        {form.SetBtn, "SetBtn", {264, 312, 89, 25}},
        {form.NonCng, "NonCng", {368, 0, 105, 17}},
        {form.AboutBtn, "AboutBtn", {560, 0, 43, 17}},
        {form.Label5, "Label5", {368, 24, 49, 12}},
        {form.LogClrBtn, "LogClrBtn", {424, 24, 65, 17}},
        {form.LogSaveBtn, "LogSaveBtn", {496, 24, 105, 17}},
        {form.Log, "Log", {368, 40, 313, 297}},
    };
    for (const auto& control : layout) {
        control.widget->setObjectName(QString::fromUtf8(control.name));
        control.widget->setGeometry(control.bounds);
        // Labels size themselves to their text: the designed sizes were measured in a font
        // whose glyphs may be a little narrower than the stand-in's.
        if (auto* label = qobject_cast<QLabel*>(control.widget)) {
            label->adjustSize();
        }
    }
}

using Widgets = std::initializer_list<QWidget*>;

// "debug log", measured in the stand-in font, reaches its buttons: they move right to keep a
// gap after it.
void KeepGapAfterLogLabel(TForm1& form) {
    constexpr int kGap = 6;
    const int shift = form.Label5->geometry().right() + 1 + kGap - form.LogClrBtn->x();
    if (shift > 0) {
        for (QWidget* button : Widgets{form.LogClrBtn, form.LogSaveBtn}) {
            button->move(button->x() + shift, button->y());
        }
    }
}

// Tab order as designed; only five controls are tab stops, the rest take focus by click.
void SetTabOrder(TForm1& form) {
    tarvelo::ChainTabOrder({form.MailMes, form.PhsNo, form.rcvClm, form.ClmUpDown, form.sendButton,
                            form.SetBtn, form.TvImg, form.phsErr, form.msgErr, form.Log,
                            form.LogClrBtn, form.TvMes, form.NonCng, form.LogSaveBtn,
                            form.AboutBtn});
    for (QWidget* control :
         Widgets{form.rcvClm, form.TvImg, form.phsErr, form.msgErr, form.Log, form.LogClrBtn,
                 form.TvMes, form.NonCng, form.LogSaveBtn, form.AboutBtn}) {
        control->setFocusPolicy(Qt::ClickFocus);
    }
}

// Fonts, colours, read-only boxes, wrapping, the spinner's range and the tooltips.
void SetProperties(TForm1& form) {
    for (QWidget* box : Widgets{form.MailMes, form.TvMes, form.TvImg, form.Log}) {
        box->setFont(tarvelo::GothicFont());
    }
    form.PhsNo->setFont(tarvelo::PGothicFontWithFallback());
    for (QWidget* box :
         Widgets{form.TvMes, form.TvImg, form.rcvClm, form.msgErr, form.phsErr, form.Log}) {
        UseButtonFace(box);
    }

    form.MailMes->setAcceptRichText(false);
    for (QWidget* box : Widgets{form.MailMes, form.PhsNo, form.TvMes}) {
        tarvelo::KeepAltKeysOut(box);
    }
    form.MailMes->setTabChangesFocus(true);
    form.TvMes->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    // The number goes into the mail image line by line: a pasted line break must not split it.
    tarvelo::MakeSingleLine(form.PhsNo);
    form.rcvClm->setReadOnly(true);
    // Two digits and a frame in 17 pixels: the edit's inner margins would push "12" onto it.
    form.rcvClm->setAlignment(Qt::AlignCenter);
    form.rcvClm->setTextMargins(-2, 0, -2, 0);
    form.ClmUpDown->SetRange(5, 15);
    form.ClmUpDown->SetBuddy(form.rcvClm);
    form.ClmUpDown->SetPosition(12);

    // Each error text fits its box whole, wrapped over at most two lines of seven full-width
    // characters: a frame of one pixel and a margin of one leave 85 of the 89 pixels, and no
    // width or height goes to a scroll bar.
    for (QPlainTextEdit* box : {form.msgErr, form.phsErr}) {
        box->setReadOnly(true);
        box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        box->setLineWidth(1);
        box->document()->setDocumentMargin(1);
        box->setWordWrapMode(QTextOption::WrapAnywhere);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    form.sendButton->setToolTip(Text(texts::kSendButtonHint));
    form.sendButton->setEnabled(false);
    form.LogClrBtn->setToolTip(Text(texts::kLogClrBtnHint));
    form.LogSaveBtn->setToolTip(Text(texts::kLogSaveBtnHint));
    form.Log->setReadOnly(true);
    form.Log->setAcceptRichText(false);
    form.Log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette logPalette = form.Log->palette();
    logPalette.setColor(QPalette::Text, Qt::black);
    form.Log->setPalette(logPalette);
}

void ConnectHandlers(TForm1& form) {
    QObject::connect(form.MailMes, &QTextEdit::textChanged, &form, &TForm1::MailMesChange);
    QObject::connect(form.PhsNo, &QLineEdit::textChanged, &form, &TForm1::MailMesChange);
    QObject::connect(form.NonCng, &QCheckBox::clicked, &form, &TForm1::MailMesChange);
    QObject::connect(form.ClmUpDown, &tarvelo::UpDown::Click, &form, &TForm1::ClmUpDownClick);
    QObject::connect(form.sendButton, &QPushButton::clicked, &form, &TForm1::sendButtonClick);
    QObject::connect(form.Timer1, &QTimer::timeout, &form, &TForm1::Timer1Timer);
    QObject::connect(form.SetBtn, &QPushButton::clicked, &form, &TForm1::SetBtnClick);
    QObject::connect(form.AboutBtn, &QPushButton::clicked, &form, &TForm1::AboutBtnClick);
    QObject::connect(form.LogClrBtn, &QPushButton::clicked, &form, &TForm1::LogClrBtnClick);
    QObject::connect(form.LogSaveBtn, &QPushButton::clicked, &form, &TForm1::LogSaveBtnClick);
}

}  // namespace

TForm1::TForm1(QWidget* parent)
    : QWidget(parent), form_(tarvelo::SubmitPasswords(), tarvelo::MakeTransport) {
    setObjectName(QStringLiteral("Form1"));
    setFont(tarvelo::PGothicFont());
    setWindowTitle(Text(tarvelo::kApplicationTitle));

    CreateControls(*this);
    PlaceControls(*this);
    KeepGapAfterLogLabel(*this);
    SetTabOrder(*this);
    SetProperties(*this);
    marks_ = new tarvelo::UnsendableMarks(MailMes);
    ConnectHandlers(*this);

    resize(685, 340);
    ClmUpDownClick();
    // The debug log area starts out of sight, right of the window's edge.
    SetOuterSize({tarvelo::kMainMinimumOuterWidth, OuterSize().height()});
    FormResize();
}

void TForm1::MailMesChange() {
    tarvelo::MainView view = tarvelo::ComposeMain(
        {.message = ToShiftJis(tarvelo::TakeOutZeroCharacters(MailMes)),
         .phsNo = ToShiftJis(PhsNo->text()),
         .resNo = SetDialog != nullptr ? SetDialog->ResNoText() : std::string(),
         .testMode = NonCng->isChecked()});
    marks_->Show(view.markUnsendable);
    TvImg->SetText(std::move(view.preview));
    TvMes->SetLines(std::move(view.mailImage));
    msgErr->setPlainText(Text(view.msgErr));
    phsErr->setPlainText(Text(view.phsErr));
    sendButton->setEnabled(view.sendEnabled);
}

// The preview's text area is exactly columns × 12 pixels wide: 2 pixels of frame and 2 of
// margin on each side make the 8 of the width.
void TForm1::ClmUpDownClick() {
    const int columns = rcvClm->text().toInt();
    TvImg->resize(tarvelo::PreviewWidth(columns), TvImg->height());
}

void TForm1::SetBtnClick() {
    if (SetDialog != nullptr) {
        SetDialog->exec();
    }
}

void TForm1::AboutBtnClick() {
    if (AboutBox == nullptr) {
        AboutBox = new TAboutBox(this);
    }
    AboutBox->ProgName->setText(Text(tarvelo::kVersionText));
    AboutBox->exec();
}

void TForm1::LogClrBtnClick() {
    form_.ClearLog();
    logLinesShown_ = 0;
    Log->clear();
}

void TForm1::LogSaveBtnClick() {
    tarvelo::RunHandler([this] {
        form_.SaveLog();
        logLinesShown_ = 0;
        Log->clear();
    });
}

void TForm1::AddLog(std::string_view sjisText) {
    form_.AddLog(sjisText);
    ShowLogLines();
}

// While the memo is 20 pixels wide, out of sight or too narrow to read, its lines wait in
// the form's log: laying each out in so narrow a column would cost time and memory for every line
// of every sending. They enter the memo, in one piece, when it is widened.
void TForm1::ShowLogLines() {
    const std::vector<std::string>& logLines = form_.LogLines();
    if (logLinesShown_ == logLines.size() || Log->width() <= tarvelo::kNarrowLogWidth) {
        return;
    }
    QStringList lines;
    for (; logLinesShown_ < logLines.size(); ++logLinesShown_) {
        lines.push_back(FromShiftJis(logLines[logLinesShown_]));
    }
    // Each entry's rows after its first stand further in, so that one entry wrapped over
    // several rows is told from the next; the lines added below take the last one's format.
    QTextCursor end(Log->document());
    end.movePosition(QTextCursor::End);
    if (Log->document()->isEmpty()) {
        const int indent = Log->fontMetrics().horizontalAdvance(QStringLiteral("    "));
        QTextBlockFormat hanging;
        hanging.setLeftMargin(indent);
        hanging.setTextIndent(-indent);
        end.setBlockFormat(hanging);
    } else {
        end.insertBlock();
    }
    end.insertText(lines.join(QLatin1Char('\n')));
    Log->setTextCursor(end);
    Log->ensureCursorVisible();
}

QSize TForm1::OuterSize() const {
    return frameGeometry().size();
}

void TForm1::SetOuterSize(QSize outer) {
    const QSize frame = frameGeometry().size() - size();
    resize(outer - frame);
}

void TForm1::FormResize() {
    const tarvelo::MainWindowSize wanted = tarvelo::MainWindowSizeFor(OuterSize().width());
    Log->setGeometry(tarvelo::kLogLeft, Log->y(), wanted.logWidth, Log->height());
    Log->setLineWrapMode(wanted.logWraps ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
    ShowLogLines();
    const QSize outer(wanted.outerWidth, wanted.outerHeight);
    if (outer != OuterSize()) {
        SetOuterSize(outer);
    }
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The composition runs once, when the window first becomes active; returning from a modal
    // dialog must not run it again (a changed reply number waits for the next edit).
    if (!activated_) {
        activated_ = true;
        // The start size counts the frame, which the window system tells only once the window
        // is up.
        const auto fit = [this] {
            SetOuterSize({tarvelo::kMainMinimumOuterWidth, tarvelo::kMainOuterHeight});
            FormResize();
        };
        fit();
        tarvelo::WhenFramed(this, "outer size", fit);
        tarvelo::RunHandler([this] { MailMesChange(); });
    }
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}
