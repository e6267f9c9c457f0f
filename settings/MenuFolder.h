// The folder that the desktop menu starts Tarvelo in. The program keeps its settings and its
// log in its working directory, which the menu would make the home folder; a start from the
// menu gets a folder of its own under the user's data directory instead.
#pragma once

#include <string>

namespace tarvelo {

struct MenuFolder {
    // $XDG_DATA_HOME/tarvelo, or ~/.local/share/tarvelo when XDG_DATA_HOME is unset, empty or
    // relative (the XDG Base Directory rules); "~/.local/share/tarvelo" itself when HOME is
    // unset too.
    std::string path;
    // Empty when the folder is there (made here, with its parents, when missing) and takes
    // writing; else why not, UTF-8: the system's text for the error met, or that HOME is unset.
    std::string failure;
};

// Never raises: a start from the menu has no terminal, so the caller shows the failure.
MenuFolder MenuSettingsFolder();

// MenuSettingsFolder, then makes it the working directory. Raises MenuFolderError naming the
// folder and the reason.
void EnterMenuSettingsFolder();

}  // namespace tarvelo
