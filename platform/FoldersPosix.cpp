#include "platform/Folders.h"

namespace tarvelo {

std::optional<std::string> SystemDataFolder(std::string_view) {
    return std::nullopt;
}

const std::string_view kMenuFolderHelp =
    "$XDG_DATA_HOME/tarvelo (~/.local/share/tarvelo by default)";

}  // namespace tarvelo
