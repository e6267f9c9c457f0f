// The yardstick for start-up: a bare Qt window holding 25 stock widgets of the kinds the main
// window has (edits, memos, rich edits, labels, buttons, a check box, a timer), nothing else.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    int y = 0;
    const auto place = [&y](QWidget* widget, int height) {
        widget->setGeometry(8, y, 200, height);
        y += height + 2;
    };
    for (int i = 0; i < 2; ++i) {
        place(new QTextEdit(&window), 40);
    }
    for (int i = 0; i < 4; ++i) {
        place(new QPlainTextEdit(&window), 30);
    }
    for (int i = 0; i < 8; ++i) {
        place(new QLabel(QStringLiteral("Label %1").arg(i), &window), 12);
    }
    for (int i = 0; i < 3; ++i) {
        place(new QLineEdit(&window), 20);
    }
    for (int i = 0; i < 6; ++i) {
        place(new QPushButton(QStringLiteral("Button %1").arg(i), &window), 20);
    }
    place(new QCheckBox(QStringLiteral("Check"), &window), 17);
    auto* timer = new QTimer(&window);
    timer->setInterval(50);
    window.resize(365, y);
    window.show();
    return QApplication::exec();
}
