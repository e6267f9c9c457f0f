// The debug log as a day of sendings fills it: the time to add one sending's lines after k
// sendings are already in it, and the heap each sending keeps (the log 20 pixels wide, out of
// sight, as the window starts).
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <array>
#include <string>
#include <string_view>

#include "app/qt/TvMain.h"

namespace {

// One sending as the log shows it: 25 lines, 0.6 KiB.
constexpr std::array<std::string_view, 25> kSending{
    " R:220 mail.example.com ESMTP Postfix (Debian/GNU)",
    " S:HELO client.example.com",
    " R:250 mail.example.com",
    " S:RSET",
    " R:250 2.0.0 Ok",
    " S:MAIL FROM:<taro.yamada@example.com>",
    " R:250 2.1.0 Ok",
    " S:RCPT TO:<tv@phs.example.ne.jp>",
    " R:250 2.1.5 Ok",
    " S:DATA",
    " R:354 End data with <CR><LF>.<CR><LF>",
    " S:X-Mailer: Tarvelo from E-Mail Ver 1.1beta1",
    " S:Date: Sun, 06 Dec 2026 16:02:45 +0900",
    " S:From: taro.yamada@example.com",
    " S:To: tv@phs.example.ne.jp",
    " S:Mime-Version: 1.0",
    " S:Content-Type: text/plain; charset=\"ISO-2022-JP\"",
    " S:",
    " S:PHSNO=07012345678",
    " S:RESNO=09012345678",
    " S:MSG=\x1B$B%+!+%D%3%&!!#A#B#C%\"%$%&%(%*\x1B(J",
    " S:.",
    " R:250 2.0.0 Ok: queued as 4B2C71A0E3",
    " S:QUIT",
    " R:221 2.0.0 Bye",
};

// As the timer adds them: the event loop runs between sendings.
void AddSending() {
    for (std::string_view line : kSending) {
        Form1->AddLog(line);
    }
    QCoreApplication::processEvents();
}

void LogOneSending(benchmark::State& state) {
    Form1->LogClrBtnClick();
    for (int64_t i = 0; i < state.range(0); ++i) {
        AddSending();
    }
    const std::size_t heapBefore = mallinfo2().uordblks;
    for (auto _ : state) {
        AddSending();
    }
    const std::size_t heapAfter = mallinfo2().uordblks;
    state.counters["KiB_per_sending"] =
        (static_cast<double>(heapAfter) - static_cast<double>(heapBefore)) / 1024.0 /
        static_cast<double>(state.iterations());
    Form1->LogClrBtnClick();
}
BENCHMARK(LogOneSending)->Arg(0)->Arg(1000)->Iterations(200)->Unit(benchmark::kMicrosecond);

// One reply of 64 KiB without a line break, as a hostile server may send, at the log's width
// in pixels: 20 at the window's start, then widened so far that it shows the line's start
// unwrapped, and so far that it wraps it.
void LogLongReply(benchmark::State& state) {
    const std::string reply = " R:" + std::string(64 << 10, 'x');
    const QSize start = Form1->size();
    const int frame = Form1->frameGeometry().width() - Form1->width();
    const int logWidth = static_cast<int>(state.range(0));
    Form1->resize((logWidth == 20 ? 365 : logWidth + 380) - frame, Form1->height());
    QCoreApplication::processEvents();
    if (Form1->Log->width() != logWidth) {
        state.SkipWithError("the log did not take the width");
        return;
    }
    for (auto _ : state) {
        Form1->AddLog(reply);
        QCoreApplication::processEvents();
        state.PauseTiming();
        Form1->LogClrBtnClick();
        state.ResumeTiming();
    }
    Form1->resize(start);
    QCoreApplication::processEvents();
}
BENCHMARK(LogLongReply)->Arg(20)->Arg(100)->Arg(160)->Arg(300)->Unit(benchmark::kMillisecond);

}  // namespace
