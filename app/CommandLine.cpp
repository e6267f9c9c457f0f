#include "app/CommandLine.h"

#include <string_view>

#include "base/Version.h"
#include "platform/Folders.h"

namespace tarvelo {
namespace {

// The menu's folder as this system names it (platform/Folders.h).
std::string Usage() {
    return "Usage: tarvelo [--menu | --version | --help]\n"
           "Tarvelo sends short text messages to PHS handsets through the carrier's e-mail "
           "gateway.\n"
           "It keeps its settings (tvemail.ini, tvdomain.ini) and its log (TVEMAIL.LOG) in the\n"
           "directory it is started from. With --menu, as the desktop menu starts it, it works "
           "in\n" +
           std::string(kMenuFolderHelp) + ", made when missing.\n";
}

}  // namespace

CommandLineReply ReadCommandLine(std::span<const char* const> arguments) {
    if (arguments.empty()) {
        return {};
    }
    const std::string_view first = arguments.front();
    if (arguments.size() == 1 && first == "--menu") {
        return {.run = true, .menu = true, .exitStatus = 0, .output = {}, .error = {}};
    }
    if (arguments.size() == 1 && first == "--version") {
        return {.run = false,
                .menu = false,
                .exitStatus = 0,
                .output = std::string(kVersionText) + "\n",
                .error = {}};
    }
    if (arguments.size() == 1 && first == "--help") {
        return {.run = false, .menu = false, .exitStatus = 0, .output = Usage(), .error = {}};
    }
    const bool known = first == "--menu" || first == "--version" || first == "--help";
    const std::string_view unexpected = known ? arguments[1] : first;
    return {.run = false,
            .menu = false,
            .exitStatus = 2,
            .output = {},
            .error = "tarvelo: unexpected argument '" + std::string(unexpected) + "'\n" + Usage()};
}

}  // namespace tarvelo
