// Takes the README's pictures of the real windows: the main window widened so that the debug
// log shows, with a sample message typed in, and the settings dialog.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <cstdio>

#include "app/qt/Startup.h"
#include "app/qt/TvMain.h"
#include "base/Version.h"
#include "settings/qt/setting.h"
#include "ui/qt/Controls.h"
#include "ui/qt/Fonts.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    const QString output = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QApplication application(argc, argv);
    tarvelo::SetUpIdentity();
    tarvelo::SetUpFonts();
    tarvelo::CreateWindows();

    tarvelo::SetIconWhenDrawn(Form1);
    Form1->show();
    if (!QTest::qWaitForWindowExposed(Form1)) {
        std::fprintf(stderr, "screenshots: the main window was never shown\n");
        return 1;
    }
    Form1->resize(700, Form1->height());
    // As a Japanese input method delivers it: committed text, not key strokes.
    QInputMethodEvent typed;
    typed.setCommitString(QString::fromUtf8("きょうは ｶﾞｯｺｳ で (abc) ﾃｽﾄ!"));
    QCoreApplication::sendEvent(Form1->MailMes, &typed);
    QTest::keyClicks(Form1->PhsNo, QStringLiteral("07012345678"));
    Form1->AddLog(" R:220 mail.example.com ESMTP ready");
    Form1->AddLog(" S:HELO example.com");
    Form1->AddLog(" R:250 mail.example.com");
    QCoreApplication::processEvents();
    const bool mainSaved = Form1->grab().save(output + QStringLiteral("/main-window.png"));

    SetDialog->show();
    if (!QTest::qWaitForWindowExposed(SetDialog)) {
        std::fprintf(stderr, "screenshots: the settings dialog was never shown\n");
        return 1;
    }
    QCoreApplication::processEvents();
    const bool settingsSaved = SetDialog->grab().save(output + QStringLiteral("/settings.png"));
    SetDialog->hide();

    tarvelo::DestroyWindows();
    if (!mainSaved || !settingsSaved) {
        std::fprintf(stderr, "screenshots: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
