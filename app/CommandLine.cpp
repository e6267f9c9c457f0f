#include "app/CommandLine.h"

#include <string_view>

#include "base/Version.h"

namespace tarvelo {
namespace {

constexpr std::string_view kUsage =
    "Usage: tarvelo [--menu | --version | --help]\n"
    "Tarvelo sends short text messages to PHS handsets through the carrier's e-mail gateway.\n"
    "It keeps its settings (tvemail.ini, tvdomain.ini) and its log (TVEMAIL.LOG) in the\n"
    "directory it is started from. With --menu, as the desktop menu starts it, it works in\n"
    "$XDG_DATA_HOME/tarvelo (~/.local/share/tarvelo by default), made when missing.\n";

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
        return {.run = false,
                .menu = false,
                .exitStatus = 0,
                .output = std::string(kUsage),
                .error = {}};
    }
    const bool known = first == "--menu" || first == "--version" || first == "--help";
    const std::string_view unexpected = known ? arguments[1] : first;
    return {.run = false,
            .menu = false,
            .exitStatus = 2,
            .output = {},
            .error = "tarvelo: unexpected argument '" + std::string(unexpected) + "'\n" +
                     std::string(kUsage)};
}

}  // namespace tarvelo
