#include "app/qt/Startup.h"

#include <QApplication>
#include <QByteArray>
#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QSize>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <vector>

#include "app/qt/TvMain.h"
#include "base/Version.h"
#include "settings/MenuFolder.h"
#include "settings/qt/setting.h"
#include "ui/ErrorPath.h"
#include "ui/qt/Controls.h"
#include "ui/qt/Fonts.h"

namespace tarvelo {

namespace {

// Sets the icon once the main window has been drawn for the first time: decoding the images
// is a noticeable part of start-up, and the window system takes an icon at any time.
class IconAfterFirstPaint : public QObject {
public:
    explicit IconAfterFirstPaint(QWidget* window) : QObject(window) {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // After the paint and its flush to the screen, not within them.
            QTimer::singleShot(0, this, [this] {
                QIcon icon;
                for (const int size : {16, 32, 48, 64, 128}) {
                    icon.addFile(QStringLiteral(":/icons/tarvelo-%1.png").arg(size),
                                 QSize(size, size));
                }
                QApplication::setWindowIcon(icon);
                deleteLater();
            });
        }
        return false;
    }
};

}  // namespace

void SetUpIdentity() {
    // The menu entry's name: as the application's name it is the class of the windows'
    // WM_CLASS, as the desktop file name their Wayland app id, so that a taskbar finds the
    // entry, its name and its icon. The windows' own titles stay "Tarvelo from E-Mail".
    const QString desktopId = QStringLiteral("org.tarvelo.Tarvelo");
    QApplication::setApplicationName(desktopId);
    QGuiApplication::setDesktopFileName(desktopId);
}

void SetIconWhenDrawn(QWidget* mainWindow) {
    new IconAfterFirstPaint(mainWindow);
}

void CreateWindows() {
    Form1 = new TForm1();
    SetDialog = new TSetDialog(Form1);
}

void DestroyWindows() {
    // The dialogs are children of the main window and go with it; the ones made at their first
    // use forget them by themselves.
    delete Form1;
    SetDialog = nullptr;
    Form1 = nullptr;
}

namespace {

// Qt's messages while the application object reaches for the display, held back until it has.
struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};
std::vector<HeldMessage> heldMessages;

// Without a display Qt prints its advice on reinstalling and aborts; the user needs one line.
void HoldMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        std::fputs(
            "tarvelo: cannot open a window: no display could be reached "
            "(DISPLAY or WAYLAND_DISPLAY)\n",
            stderr);
        std::_Exit(1);
    }
    heldMessages.push_back({type, context.category, text});
}

}  // namespace

int RunTarvelo(int argc, char** argv, bool menu) {
    const QtMessageHandler handler = qInstallMessageHandler(HoldMessage);
    QApplication application(argc, argv);
    qInstallMessageHandler(handler);
    for (const HeldMessage& held : heldMessages) {
        handler(held.type, QMessageLogContext(nullptr, 0, nullptr, held.category.constData()),
                held.text);
    }
    heldMessages.clear();
    SetUpIdentity();
    SetUpFonts();
    int result = 0;
    try {
        if (menu) {
            EnterMenuSettingsFolder();
        }
        CreateWindows();
        SetIconWhenDrawn(Form1);
        Form1->show();
        result = QApplication::exec();
    } catch (const std::exception& error) {
        // Only start-up can get here: handlers catch their own errors.
        ShowErrorBox(error.what());
        result = 1;
    }
    DestroyWindows();
    return result;
}

}  // namespace tarvelo
