#include "app/CommandLine.h"

#include <string_view>

#include "base/Version.h"

namespace tarvelo {
namespace {

constexpr std::string_view kUsage =
    "Usage: tarvelo [--version | --help]\n"
    "Tarvelo sends short text messages to PHS handsets through the carrier's e-mail gateway.\n"
    "It keeps its settings (tvemail.ini, tvdomain.ini) and its log (TVEMAIL.LOG) in the\n"
    "directory it is started from. The desktop menu starts it in $XDG_DATA_HOME/tarvelo\n"
    "(~/.local/share/tarvelo by default).\n";

}  // namespace

CommandLineReply ReadCommandLine(std::span<const char* const> arguments) {
    if (arguments.empty()) {
        return {};
    }
    const std::string_view first = arguments.front();
    if (arguments.size() == 1 && first == "--version") {
        return {
            .run = false, .exitStatus = 0, .output = std::string(kVersionText) + "\n", .error = {}};
    }
    if (arguments.size() == 1 && first == "--help") {
        return {.run = false, .exitStatus = 0, .output = std::string(kUsage), .error = {}};
    }
    const bool known = first == "--version" || first == "--help";
    const std::string_view unexpected = known ? arguments[1] : first;
    return {.run = false,
            .exitStatus = 2,
            .output = {},
            .error = "tarvelo: unexpected argument '" + std::string(unexpected) + "'\n" +
                     std::string(kUsage)};
}

}  // namespace tarvelo
