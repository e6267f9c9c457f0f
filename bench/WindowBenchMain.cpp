// The windows' benchmarks run on the offscreen platform against the real windows, made once.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QByteArray>
#include <QCoreApplication>
#include <filesystem>

#include "app/qt/Startup.h"
#include "app/qt/TvMain.h"
#include "ui/qt/Fonts.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    tarvelo::SetUpFonts();
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
