// One run of the main window's composition as the user feels it: reading the message box,
// converting, filling the preview (laid out at its width), the mail image and the error boxes.
#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextEdit>
#include <string>

#include "app/qt/HandsetPreview.h"
#include "app/qt/MailImageEdit.h"
#include "app/qt/TvMain.h"

namespace {

QString Repeated(const QString& piece, qsizetype bytes) {
    const qsizetype pieceBytes = piece.toUtf8().size();
    QString text;
    for (qsizetype size = 0; size < bytes; size += pieceBytes) {
        text += piece;
    }
    return text;
}

void Compose(benchmark::State& state, const QString& message) {
    Form1->MailMes->setPlainText(message);
    for (auto _ : state) {
        Form1->MailMesChange();
        // The layout of the preview and the mail image are part of what the user waits for.
        benchmark::DoNotOptimize(Form1->TvImg->RowCount());
        benchmark::DoNotOptimize(Form1->TvMes->document()->documentLayout()->documentSize());
    }
}

// 69 full-width characters: 138 bytes of Shift-JIS, the longest message that may be sent.
void MailMesChange138Bytes(benchmark::State& state) {
    Compose(state,
            Repeated(QString::fromUtf8("アイウエオカキクケコサシスセソタチツテトナニヌ"), 207)
                .left(69));
}
BENCHMARK(MailMesChange138Bytes)->Unit(benchmark::kMicrosecond);

// About 100 KB of pasted office text (Shift-JIS bytes), kanji and kana mixed with ASCII.
void MailMesChange100KB(benchmark::State& state) {
    const QString line = QString::fromUtf8(
        "明日の会議は午後３時からです。場所は本社ビル７Ｆの「第２会議室」です。"
        "Please bring the report (ver.2)! ｶﾞｯｺｳﾏﾃﾞ ﾑｶｴﾆｲｸﾖ\n");
    // Each line is about 2/3 as long in Shift-JIS as in UTF-8.
    Compose(state, Repeated(line, 150 * 1024));
}
BENCHMARK(MailMesChange100KB)->Unit(benchmark::kMillisecond);

// Pasting text into box, empty before, as one whole text, then painting the window it is in.
// Emptying the box is not timed.
void PasteAndPaint(benchmark::State& state, QTextEdit* box, QWidget* window) {
    const QString line = QString::fromUtf8(
        "明日の会議は午後３時からです。場所は本社ビル７Ｆの「第２会議室」です。"
        "Please bring the report (ver.2)! ｶﾞｯｺｳﾏﾃﾞ ﾑｶｴﾆｲｸﾖ\n");
    // Shift-JIS is about 2/3 of UTF-8 for this text.
    const QString text = Repeated(line, state.range(0) * 3 / 2);
    for (auto _ : state) {
        state.PauseTiming();
        box->clear();
        window->repaint();
        state.ResumeTiming();
        box->setPlainText(text);
        window->repaint();
    }
    box->clear();
}

// The message box of the main window: each paste runs the composition.
void PasteIntoMailMes(benchmark::State& state) {
    PasteAndPaint(state, Form1->MailMes, Form1);
}
BENCHMARK(PasteIntoMailMes)->Arg(100 << 10)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

// The yardstick: a bare QTextEdit of the message box's size, alone in a window, same text.
// The yardstick's window: a bare QTextEdit of the message box's size, alone in a window of the
// main window's size, shown.
QTextEdit* BareBoxIn(QWidget& window) {
    auto* box = new QTextEdit(&window);
    box->setGeometry(Form1->MailMes->geometry());
    window.resize(Form1->size());
    window.show();
    QCoreApplication::processEvents();
    return box;
}

void PasteIntoBareTextEdit(benchmark::State& state) {
    QWidget window;
    PasteAndPaint(state, BareBoxIn(window), &window);
}
BENCHMARK(PasteIntoBareTextEdit)->Arg(100 << 10)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

// One character typed at the end of a box that holds a 100 KB paste, then the window painted:
// what each keystroke costs once a long text is there.
void TypeAfterPaste(benchmark::State& state, QTextEdit* box, QWidget* window) {
    const QString line = QString::fromUtf8(
        "明日の会議は午後３時からです。場所は本社ビル７Ｆの「第２会議室」です。"
        "Please bring the report (ver.2)! ｶﾞｯｺｳﾏﾃﾞ ﾑｶｴﾆｲｸﾖ\n");
    box->setPlainText(Repeated(line, 150 * 1024));
    window->repaint();
    QTextCursor end(box->document());
    end.movePosition(QTextCursor::End);
    box->setTextCursor(end);
    int typed = 0;
    for (auto _ : state) {
        // Kept short, so that the text stays the same size however many runs there are.
        if (++typed % 2 == 0) {
            box->textCursor().deletePreviousChar();
        } else {
            box->textCursor().insertText(QString::fromUtf8("ア"));
        }
        window->repaint();
    }
    box->clear();
}

void TypeIntoMailMesAfter100KB(benchmark::State& state) {
    TypeAfterPaste(state, Form1->MailMes, Form1);
}
BENCHMARK(TypeIntoMailMesAfter100KB)->Unit(benchmark::kMillisecond);

void TypeIntoBareTextEditAfter100KB(benchmark::State& state) {
    QWidget window;
    TypeAfterPaste(state, BareBoxIn(window), &window);
}
BENCHMARK(TypeIntoBareTextEditAfter100KB)->Unit(benchmark::kMillisecond);

}  // namespace
