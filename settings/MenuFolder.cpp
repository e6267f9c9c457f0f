#include "settings/MenuFolder.h"

#include <string_view>

namespace tarvelo {

std::optional<std::string> MenuFolder(const char* xdgDataHome, const char* home) {
    if (xdgDataHome != nullptr && xdgDataHome[0] == '/') {
        return std::string(xdgDataHome) + "/tarvelo";
    }
    if (home != nullptr && home[0] != '\0') {
        return std::string(home) + "/.local/share/tarvelo";
    }
    return std::nullopt;
}

}  // namespace tarvelo
