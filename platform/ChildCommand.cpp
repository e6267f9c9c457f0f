#include "platform/ChildCommand.h"

namespace tarvelo {

std::string FirstLineOf(std::FILE* output) {
    std::string line;
    for (int c; (c = std::fgetc(output)) != EOF && c != '\n';) {
        line.push_back(static_cast<char>(c));
    }
    while (std::fgetc(output) != EOF) {
    }
    if (line.ends_with('\r')) {
        line.pop_back();
    }
    return line;
}

}  // namespace tarvelo
