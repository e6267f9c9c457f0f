#include "app/Startup.h"

#include <QApplication>
#include <exception>

#include "app/TvMain.h"
#include "app/about.h"
#include "base/Version.h"
#include "mail/Send.h"
#include "settings/DomainE.h"
#include "settings/MenuFolder.h"
#include "settings/setting.h"
#include "ui/Controls.h"
#include "ui/ErrorPath.h"
#include "ui/Fonts.h"

namespace tarvelo {

void CreateWindows() {
    Form1 = new TForm1();
    SetDialog = new TSetDialog(Form1);
    DomainEdit = new TDomainEdit(SetDialog);
    AboutBox = new TAboutBox(Form1);
    SendDlg = new TSendDlg(Form1);
    QObject::connect(SendDlg, &TSendDlg::Closing, Form1, &TForm1::EndSession);
}

void DestroyWindows() {
    // The dialogs are children of the main window and go with it.
    delete Form1;
    SendDlg = nullptr;
    AboutBox = nullptr;
    DomainEdit = nullptr;
    SetDialog = nullptr;
    Form1 = nullptr;
}

int RunTarvelo(int argc, char** argv, bool menu) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(Text(kApplicationTitle));
    SetUpFonts();
    int result = 0;
    try {
        if (menu) {
            EnterMenuSettingsFolder();
        }
        CreateWindows();
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
