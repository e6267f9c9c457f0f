// Sends one message again and again through the real windows (the send button, the progress
// dialog's button) to an SMTP server on 127.0.0.1:25, and watches the process for what a long
// day of sending could leave behind: open descriptors and resident memory. scripts/longrun
// starts a server in a private network namespace and runs this.
//
// The debug log is cleared after every sending, as its growth is what the log is for (a user
// clears or saves it); --keep-log leaves it to show that growth instead.
#include <malloc.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/qt/Startup.h"
#include "app/qt/TvMain.h"
#include "mail/qt/Send.h"
#include "settings/qt/setting.h"
#include "ui/qt/Fonts.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr const char* kUsage =
    "usage: tarvelo_longrun [--count N] [--warmup N] [--rss-bound-kib K] [--keep-log]\n"
    "       tarvelo_longrun --measure N\n"
    "Sends through the real windows to the SMTP server on 127.0.0.1:25, in the working\n"
    "directory's settings files (written with defaults when missing).\n"
    "  --count N          sendings in the long run (1000)\n"
    "  --warmup N         sendings before the baseline is taken (100)\n"
    "  --rss-bound-kib K  growth of resident memory allowed after the warm-up (1024)\n"
    "  --keep-log         do not clear the debug log after each sending\n"
    "  --measure N        instead: N sendings, the time from the click on the send button to\n"
    "                     \"送信しました\", and their median against the timer's 50 ms ticks\n"
    "Exit status: 0 all sent, nothing leaked, memory within the bound; 1 otherwise; 2 usage.\n";

// The replies a sending waits for, each taken in a tick of its own: the greeting, HELO,
// RSET, MAIL, RCPT, DATA, the end of the data, QUIT.
constexpr int kRepliesPerSending = 8;
constexpr auto kTick = 50ms;
// A sending that has not ended by then is taken as hung.
constexpr auto kSendingLimit = 15s;

struct Options {
    int count = 1000;
    int warmup = 100;
    long rssBoundKib = 1024;
    bool keepLog = false;
    int measure = 0;
};

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--keep-log") {
            options.keepLog = true;
            continue;
        }
        if (i + 1 >= argc) {
            return false;
        }
        char* end = nullptr;
        const long value = std::strtol(argv[++i], &end, 10);
        if (*end != '\0' || value < 0) {
            return false;
        }
        if (option == "--count") {
            options.count = static_cast<int>(value);
        } else if (option == "--warmup") {
            options.warmup = static_cast<int>(value);
        } else if (option == "--rss-bound-kib") {
            options.rssBoundKib = value;
        } else if (option == "--measure") {
            options.measure = static_cast<int>(value);
        } else {
            return false;
        }
    }
    return options.measure > 0 || (options.count > options.warmup && options.warmup > 0);
}

struct Figures {
    long descriptors;
    long rssKib;
    long heapInUseKib;  // malloc's own count: steadier than RSS, though not a bound here
};

long OpenDescriptors() {
    long count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count - 1;  // the iterator's own descriptor
}

long ResidentKib() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmRSS:")) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

Figures Measure() {
    return {OpenDescriptors(), ResidentKib(), static_cast<long>(mallinfo2().uordblks / 1024)};
}

void Print(const char* when, const Figures& figures) {
    std::printf("%-28s descriptors %3ld   VmRSS %7ld KiB   heap in use %7ld KiB\n", when,
                figures.descriptors, figures.rssKib, figures.heapInUseKib);
    std::fflush(stdout);
}

struct Sending {
    QString sendLabel;
    Clock::duration elapsed{};
};

// Clicks the send button; once the dialog's button reads "OK", notes the headline and the
// time since the click and presses it. A sending still running after kSendingLimit is
// cancelled and comes back with the headline it had then.
Sending SendOnce() {
    Sending sending;
    Clock::time_point clicked;
    QTimer watch;
    watch.setTimerType(Qt::PreciseTimer);
    QObject::connect(&watch, &QTimer::timeout, &watch, [&] {
        if (QApplication::activeModalWidget() != SendDlg) {
            return;
        }
        const Clock::duration elapsed = Clock::now() - clicked;
        if (SendDlg->CancelBtn->text() != "OK" && elapsed < kSendingLimit) {
            return;
        }
        watch.stop();
        sending.sendLabel = SendDlg->SendLabel->text();
        sending.elapsed = elapsed;
        QTest::mouseClick(SendDlg->CancelBtn, Qt::LeftButton);
    });
    watch.start(1);
    clicked = Clock::now();
    QTest::mouseClick(Form1->sendButton, Qt::LeftButton);
    return sending;
}

double Milliseconds(Clock::duration span) {
    return std::chrono::duration<double, std::milli>(span).count();
}

bool SendOk(const Sending& sending, int number) {
    if (sending.sendLabel == QString::fromUtf8("送信しました")) {
        return true;
    }
    std::printf("sending %d ended with \"%s\" after %.0f ms\n", number,
                sending.sendLabel.toUtf8().constData(), Milliseconds(sending.elapsed));
    return false;
}

int RunMeasure(int count) {
    std::vector<double> times;
    for (int i = 1; i <= count; ++i) {
        const Sending sending = SendOnce();
        if (!SendOk(sending, i)) {
            return 1;
        }
        times.push_back(Milliseconds(sending.elapsed));
        std::printf("sending %2d: %6.1f ms\n", i, times.back());
        Form1->LogClrBtn->click();
    }
    std::vector<double> sorted = times;
    std::sort(sorted.begin(), sorted.end());
    const std::size_t middle = sorted.size() / 2;
    const double median =
        sorted.size() % 2 == 1 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
    const double needed = static_cast<double>(kRepliesPerSending * kTick.count());
    std::printf(
        "click to \"送信しました\": median %.1f ms of %d (min %.1f, max %.1f)\n"
        "the conversation needs %d ticks of %lld ms = %.0f ms; the median is %.1f ticks\n",
        median, count, sorted.front(), sorted.back(), kRepliesPerSending,
        static_cast<long long>(kTick.count()), needed, median / static_cast<double>(kTick.count()));
    return 0;
}

int RunLong(const Options& options) {
    const Figures start = Measure();
    Print("start", start);
    Figures warm{};
    Clock::duration slowest{};
    for (int i = 1; i <= options.count; ++i) {
        const Sending sending = SendOnce();
        if (!SendOk(sending, i)) {
            return 1;
        }
        slowest = std::max(slowest, sending.elapsed);
        if (!options.keepLog) {
            Form1->LogClrBtn->click();
        }
        if (i == options.warmup) {
            warm = Measure();
            Print(("after " + std::to_string(i) + " (warm-up)").c_str(), warm);
        } else if (i % 100 == 0 && i != options.count) {
            Print(("after " + std::to_string(i)).c_str(), Measure());
        }
    }
    const Figures end = Measure();
    Print(("after " + std::to_string(options.count) + " (end)").c_str(), end);
    std::printf("slowest sending %.1f ms\n", Milliseconds(slowest));

    bool passed = true;
    if (end.descriptors > warm.descriptors) {
        std::printf("FAIL: %ld descriptors left open since the warm-up\n",
                    end.descriptors - warm.descriptors);
        passed = false;
    }
    const long grown = end.rssKib - warm.rssKib;
    if (grown > options.rssBoundKib) {
        std::printf("FAIL: resident memory grew by %ld KiB after the warm-up (bound %ld KiB)\n",
                    grown, options.rssBoundKib);
        passed = false;
    }
    if (passed) {
        std::printf(
            "PASS: %d sendings, no descriptor left open, resident memory %+ld KiB "
            "after the warm-up (bound %ld KiB)\n",
            options.count, grown, options.rssBoundKib);
    }
    return passed ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    QApplication application(argc, argv);
    tarvelo::SetUpFonts();
    tarvelo::CreateWindows();
    Form1->show();
    if (!QTest::qWaitForWindowExposed(Form1)) {
        std::fprintf(stderr, "longrun: the main window was never shown\n");
        return 1;
    }
    // Typed into the settings dialog and left there unsaved: its controls come with its showing.
    SetDialog->show();
    SetDialog->UserName->setText(QStringLiteral("taro@example.com"));
    SetDialog->Smtp->setText(QStringLiteral("127.0.0.1"));
    SetDialog->hide();
    QTest::keyClicks(Form1->PhsNo, QStringLiteral("07012345678"));
    QTest::keyClicks(Form1->MailMes, QStringLiteral("abc"));
    if (!Form1->sendButton->isEnabled()) {
        std::fprintf(stderr, "longrun: the message was refused\n");
        return 1;
    }
    const int result = options.measure > 0 ? RunMeasure(options.measure) : RunLong(options);
    tarvelo::DestroyWindows();
    return result;
}
