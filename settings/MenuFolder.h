// The folder the desktop menu starts the window program in, where it keeps its settings and log.
#pragma once

#include <optional>
#include <string>

namespace tarvelo {

// $XDG_DATA_HOME/tarvelo, or $HOME/.local/share/tarvelo when XDG_DATA_HOME is unset, empty or
// relative (a relative one is invalid and ignored). None when neither gives a place: no HOME.
// The arguments are the variables' values, null when unset.
std::optional<std::string> MenuFolder(const char* xdgDataHome, const char* home);

// The menu's folder on this system: %APPDATA%\Tarvelo on Windows, which names the folder of a
// user's application data, else MenuFolder of the environment.
std::optional<std::string> SystemMenuFolder();

// The start from the menu: the SystemMenuFolder is made, with its parents, when
// missing, and becomes the working directory. Raises MenuFolderError naming the folder and the
// reason (the system's text for the error met, or that HOME is unset): a start from the menu has
// no terminal, so the caller shows it in a message box.
void EnterMenuSettingsFolder();

}  // namespace tarvelo
