#include <QApplication>

#include "app/Fonts.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    tarvelo::SubstituteFonts();
    return 0;
}
