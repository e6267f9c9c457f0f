// The working directory, in which the programs keep their settings files and log, one side per
// platform (WorkingFolderPosix.cpp, WorkingFolderWin32.cpp).
#pragma once

#include <string>
#include <system_error>

namespace tarvelo {

// Makes folder (UTF-8), with its parents, when it is missing, and makes it the working
// directory; it must take writing, as the settings files are written there at the first start.
// An empty error_code when done, else the error met (its message() is the system's text).
std::error_code EnterWritableFolder(const std::string& folder);

}  // namespace tarvelo
