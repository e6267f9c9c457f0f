// main() of the tests that need widgets: one QApplication on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>

#include "ui/qt/Fonts.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    tarvelo::SetUpFonts();
    return RUN_ALL_TESTS();
}
