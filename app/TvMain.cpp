#include "app/TvMain.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QTextEdit>
#include <QTimer>
#include <initializer_list>
#include <utility>

#include "app/about.h"
#include "base/TextLines.h"
#include "base/Version.h"
#include "compose/Composition.h"
#include "settings/LogFile.h"
#include "settings/setting.h"
#include "ui/Controls.h"
#include "ui/ErrorPath.h"
#include "ui/Fonts.h"
#include "ui/QtShiftJis.h"
#include "ui/UpDown.h"

TForm1* Form1 = nullptr;

namespace {

using tarvelo::Text;

using tarvelo::FromShiftJis;
using tarvelo::ToShiftJis;

constexpr int kOuterHeight = 367;
constexpr int kMinimumOuterWidth = 365;
constexpr int kLogLeft = 368;
constexpr int kNarrowLogWidth = 20;

// The read-only boxes and the mail image are drawn on the button face, as the designed window.
void UseButtonFace(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    widget->setPalette(palette);
}

}  // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form1"));
    setFont(tarvelo::PGothicFont());

    MailMes = new QTextEdit(this);
    MesL = new QLabel(Text("ﾒｯｾｰｼﾞ"), this);
    PhsNoL = new QLabel(Text("PHS No"), this);
    PhsNo = new QLineEdit(this);
    TvMes = new QPlainTextEdit(this);
    Label3 = new QLabel(Text("ﾒｰﾙｲﾒｰｼﾞ"), this);
    TvImg = new QTextEdit(this);
    Label1 = new QLabel(Text("Tarvelo"), this);
    Label2 = new QLabel(Text("受信ｲﾒｰｼﾞ"), this);
    rcvClm = new QLineEdit(this);
    ClmUpDown = new tarvelo::UpDown(this);
    Label4 = new QLabel(Text("桁"), this);
    msgErr = new QPlainTextEdit(Text("メッセージがあ\nりません"), this);
    phsErr = new QPlainTextEdit(Text("PHS Noがあり\nません"), this);
    sendButton = new QPushButton(Text("送信(&S)"), this);
    SetBtn = new QPushButton(Text("環境設定(&P)"), this);
    NonCng = new QCheckBox(Text("テスト(変換なし)"), this);
    AboutBtn = new QPushButton(Text("About"), this);
    Label5 = new QLabel(Text("debug log"), this);
    LogClrBtn = new QPushButton(Text("Log Clear"), this);
    LogSaveBtn = new QPushButton(Text("Log Save && Clear"), this);
    Log = new QPlainTextEdit(this);
    Timer1 = new QTimer(this);

    const struct {
        QWidget* widget;
        const char* name;
        QRect bounds;
    } layout[] = {
        {MailMes, "MailMes", {72, 0, 281, 81}},
        {MesL, "MesL", {8, 40, 38, 17}},
        {PhsNoL, "PhsNoL", {8, 88, 40, 12}},
        {PhsNo, "PhsNo", {72, 88, 281, 20}},
        {TvMes, "TvMes", {72, 112, 281, 81}},
        {Label3, "Label3", {8, 144, 53, 12}},
        {TvImg, "TvImg", {72, 200, 154, 137}},
        {Label1, "Label1", {8, 224, 43, 12}},
        {Label2, "Label2", {8, 240, 55, 12}},
        {rcvClm, "rcvClm", {24, 272, 17, 20}},
        {ClmUpDown, "ClmUpDown", {41, 272, 15, 20}},
        {Label4, "Label4", {8, 275, 12, 17}},
        {msgErr, "msgErr", {264, 200, 89, 33}},
        {phsErr, "phsErr", {264, 240, 89, 33}},
        {sendButton, "sendButton", {264, 280, 89, 25}},
        {SetBtn, "SetBtn", {264, 312, 89, 25}},
        {NonCng, "NonCng", {368, 0, 105, 17}},
        {AboutBtn, "AboutBtn", {560, 0, 43, 17}},
        {Label5, "Label5", {368, 24, 49, 12}},
        {LogClrBtn, "LogClrBtn", {424, 24, 65, 17}},
        {LogSaveBtn, "LogSaveBtn", {496, 24, 105, 17}},
        {Log, "Log", {368, 40, 313, 297}},
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
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(50);

    // Tab order as designed; only five controls are tab stops, the rest take focus by click.
    tarvelo::ChainTabOrder({MailMes, PhsNo, rcvClm, ClmUpDown, sendButton, SetBtn, TvImg, phsErr,
                            msgErr, Log, LogClrBtn, TvMes, NonCng, LogSaveBtn, AboutBtn});
    using Widgets = std::initializer_list<QWidget*>;
    for (QWidget* control : Widgets{rcvClm, TvImg, phsErr, msgErr, Log, LogClrBtn, TvMes, NonCng,
                                    LogSaveBtn, AboutBtn}) {
        control->setFocusPolicy(Qt::ClickFocus);
    }

    for (QWidget* box : Widgets{MailMes, TvMes, TvImg, Log}) {
        box->setFont(tarvelo::GothicFont());
    }
    for (QWidget* box : Widgets{TvMes, TvImg, rcvClm, msgErr, phsErr, Log}) {
        UseButtonFace(box);
    }

    MailMes->setAcceptRichText(false);
    MailMes->setTabChangesFocus(true);
    TvMes->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    // The preview stands for the handset's display: the text area is exactly columns × 12
    // pixels wide (2 pixels of frame and 2 of margin on each side make the 8 of the width
    // rule), wraps anywhere as the handset does, and never gives width away to a scroll bar.
    TvImg->setReadOnly(true);
    TvImg->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    TvImg->setLineWidth(2);
    TvImg->document()->setDocumentMargin(2);
    TvImg->setLineWrapMode(QTextEdit::WidgetWidth);
    TvImg->setWordWrapMode(QTextOption::WrapAnywhere);
    TvImg->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    TvImg->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    // The number goes into the mail image line by line: a pasted line break must not split it.
    tarvelo::MakeSingleLine(PhsNo);
    rcvClm->setReadOnly(true);
    ClmUpDown->SetRange(5, 15);
    ClmUpDown->SetBuddy(rcvClm);
    ClmUpDown->SetPosition(12);

    // Each error text fits its box whole, wrapped over at most two lines of seven full-width
    // characters: a frame of one pixel and a margin of one leave 85 of the 89 pixels, and no
    // width or height goes to a scroll bar.
    for (QPlainTextEdit* box : {msgErr, phsErr}) {
        box->setReadOnly(true);
        box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        box->setLineWidth(1);
        box->document()->setDocumentMargin(1);
        box->setWordWrapMode(QTextOption::WrapAnywhere);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    sendButton->setToolTip(Text("SMTPで送信します"));
    sendButton->setEnabled(false);
    LogClrBtn->setToolTip(Text("下のログを消すだけです"));
    LogSaveBtn->setToolTip(Text("TVEMAIL.LOG に追加保存します"));
    Log->setReadOnly(true);
    Log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette logPalette = Log->palette();
    logPalette.setColor(QPalette::Text, Qt::black);
    Log->setPalette(logPalette);

    connect(MailMes, &QTextEdit::textChanged, this, &TForm1::MailMesChange);
    connect(PhsNo, &QLineEdit::textChanged, this, &TForm1::MailMesChange);
    connect(NonCng, &QCheckBox::clicked, this, &TForm1::MailMesChange);
    connect(ClmUpDown, &tarvelo::UpDown::Click, this, &TForm1::ClmUpDownClick);
    connect(sendButton, &QPushButton::clicked, this, &TForm1::sendButtonClick);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    connect(SetBtn, &QPushButton::clicked, this, &TForm1::SetBtnClick);
    connect(AboutBtn, &QPushButton::clicked, this, &TForm1::AboutBtnClick);
    connect(LogClrBtn, &QPushButton::clicked, this, &TForm1::LogClrBtnClick);
    connect(LogSaveBtn, &QPushButton::clicked, this, &TForm1::LogSaveBtnClick);

    setWindowTitle(Text(tarvelo::kApplicationTitle));
    resize(685, 340);
    ClmUpDownClick();
    // The debug log area starts out of sight, right of the window's edge.
    SetOuterSize({kMinimumOuterWidth, OuterSize().height()});
    FormResize();
}

void TForm1::MailMesChange() {
    tarvelo::TakeOutZeroCharacters(MailMes);
    const std::string message = ToShiftJis(MailMes->toPlainText());
    const std::string phsNo = ToShiftJis(PhsNo->text());
    const std::string resNo = SetDialog != nullptr ? SetDialog->ResNoText() : std::string();
    const tarvelo::Composition result = tarvelo::Compose(
        {.message = message, .phsNo = phsNo, .resNo = resNo, .testMode = NonCng->isChecked()});

    TvImg->setPlainText(FromShiftJis(result.preview));
    TvMes->setPlainText(tarvelo::FromShiftJisLines(result.mailImage));
    msgErr->setPlainText(Text(tarvelo::MessageErrorText(result.messageError)));
    phsErr->setPlainText(result.phsNoMissing ? Text(tarvelo::kPhsNoMissingText) : QString());
    sendButton->setEnabled(result.sendEnabled);
}

void TForm1::ClmUpDownClick() {
    const int columns = rcvClm->text().toInt();
    TvImg->resize(columns * 12 + 8, TvImg->height());
}

void TForm1::SetBtnClick() {
    if (SetDialog != nullptr) {
        SetDialog->exec();
    }
}

void TForm1::AboutBtnClick() {
    if (AboutBox != nullptr) {
        AboutBox->ProgName->setText(Text(tarvelo::kVersionText));
        AboutBox->exec();
    }
}

void TForm1::LogClrBtnClick() {
    logLines_.clear();
    Log->clear();
}

void TForm1::LogSaveBtnClick() {
    tarvelo::RunHandler([this] {
        tarvelo::SaveLogBlock(tarvelo::kLogFileName, logLines_);
        // Only a saved log is cleared: after a failure the user can save it again.
        LogClrBtnClick();
    });
}

void TForm1::AddLog(std::string_view sjisText) {
    for (std::string& line : tarvelo::SplitLines(sjisText)) {
        Log->appendPlainText(FromShiftJis(line));
        logLines_.push_back(std::move(line));
    }
}

QSize TForm1::OuterSize() const {
    return frameGeometry().size();
}

void TForm1::SetOuterSize(QSize outer) {
    const QSize frame = frameGeometry().size() - size();
    resize(outer - frame);
}

void TForm1::FormResize() {
    QSize outer = OuterSize();
    outer.setHeight(kOuterHeight);
    if (outer.width() < kMinimumOuterWidth) {
        outer.setWidth(kMinimumOuterWidth);
        Log->resize(kNarrowLogWidth, Log->height());
    } else if (outer.width() <= 400) {
        Log->resize(kNarrowLogWidth, Log->height());
    } else {
        Log->resize(outer.width() - 380, Log->height());
    }
    Log->move(kLogLeft, Log->y());
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
        // Only now does the window system tell the frame's size: the start width counts it.
        SetOuterSize({kMinimumOuterWidth, kOuterHeight});
        FormResize();
        tarvelo::RunHandler([this] { MailMesChange(); });
    }
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}
