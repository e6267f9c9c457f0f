// The debug log as a day of sendings fills it: the time to add one sending's lines after k
// sendings are already in it, and the heap each sending keeps (the log 20 pixels wide, out of
// sight, as the window starts).
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QCoreApplication>
#include <array>
#include <string_view>

#include "app/TvMain.h"

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

}  // namespace
