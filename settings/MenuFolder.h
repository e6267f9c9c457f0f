// The folder the desktop menu starts the window program in, where it keeps its settings and log.
#pragma once

#include <optional>
#include <string>

namespace tarvelo {

// $XDG_DATA_HOME/tarvelo, or $HOME/.local/share/tarvelo when XDG_DATA_HOME is unset, empty or
// relative (a relative one is invalid and ignored). None when neither gives a place: no HOME.
// The arguments are the variables' values, null when unset.
std::optional<std::string> MenuFolder(const char* xdgDataHome, const char* home);

}  // namespace tarvelo
