// The folder that a start from the desktop's menu works in, as far as the system names it; one
// side per platform (FoldersPosix.cpp, FoldersWin32.cpp). Names are UTF-8. Entering it is
// WorkingFolder.h's.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarvelo {

// The folder name in the user's application data as the system names it: %APPDATA%\name on
// Windows. None on the other systems, whose desktops name it by the XDG variables
// (settings/MenuFolder.h), and none when Windows cannot say where %APPDATA% is.
std::optional<std::string> SystemDataFolder(std::string_view name);

// How a help text names the folder of the menu's start on this system.
extern const std::string_view kMenuFolderHelp;

}  // namespace tarvelo
