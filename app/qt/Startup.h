// Start-up: the application object, the main window and the settings dialog; the other
// dialogs are made at their first use, by the window that opens them.
#pragma once

class QWidget;

namespace tarvelo {

// The application's name and desktop file name, which tie its windows to the menu entry. Call
// once, after the application object is made.
void SetUpIdentity();

// Gives the windows their icon once mainWindow has been drawn for the first time.
void SetIconWhenDrawn(QWidget* mainWindow);

// Creates Form1 and SetDialog in that order and sets their globals. Creating SetDialog loads
// both settings files (writing the missing ones), so the settings are in place before the main
// window first composes; its controls wait for its first showing.
void CreateWindows();

// Destroys them with every dialog made since, and clears their globals.
void DestroyWindows();

// The program: the application titled "Tarvelo from E-Mail", the windows, the message loop.
// menu: the start from the desktop menu, in the folder of EnterMenuSettingsFolder; a folder that
// cannot be made or entered is shown in a message box, as nobody sees a standard error there.
int RunTarvelo(int argc, char** argv, bool menu);

}  // namespace tarvelo
