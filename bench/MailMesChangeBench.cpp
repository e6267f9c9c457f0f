// One run of the main window's composition as the user feels it: reading the message box,
// converting, filling the preview (laid out at its width), the mail image and the error boxes.
#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/Startup.h"
#include "app/TvMain.h"
#include "ui/Fonts.h"

namespace {

QString Repeated(const QString& piece, qsizetype bytes) {
    QString text;
    while (text.toUtf8().size() < bytes) {
        text += piece;
    }
    return text;
}

void Compose(benchmark::State& state, const QString& message) {
    Form1->MailMes->setPlainText(message);
    for (auto _ : state) {
        Form1->MailMesChange();
        // The preview's layout is part of what the user waits for.
        benchmark::DoNotOptimize(Form1->TvImg->document()->documentLayout()->documentSize());
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

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    tarvelo::SubstituteFonts();
    // The windows read and write their settings files: keep them out of the caller's folder.
    const std::filesystem::path scratch =
        std::filesystem::temp_directory_path() / "tarvelo-bench-compose";
    std::filesystem::create_directories(scratch);
    std::filesystem::current_path(scratch);
    tarvelo::CreateWindows();
    Form1->show();
    QCoreApplication::processEvents();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    tarvelo::DestroyWindows();
    return 0;
}
