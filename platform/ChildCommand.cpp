#include "platform/ChildCommand.h"

#include <string_view>
#include <utility>

namespace tarvelo {

SecretText FirstLineOf(std::FILE* output) {
    std::setvbuf(output, nullptr, _IONBF, 0);
    SecretText line;
    for (int c; (c = std::fgetc(output)) != EOF && c != '\n';) {
        const char byte = static_cast<char>(c);
        line.Append(std::string_view(&byte, 1));
    }
    while (std::fgetc(output) != EOF) {
    }
    if (line.view().ends_with('\r')) {
        SecretText cut(line.view().substr(0, line.size() - 1));
        line = std::move(cut);
    }
    return line;
}

}  // namespace tarvelo
