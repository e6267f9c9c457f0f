#include <cstdio>

#include "platform/Console.h"

namespace tarvelo {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

std::string ReadStandardInput() {
    std::string input;
    char chunk[4096];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, stdin)) > 0;) {
        input.append(chunk, got);
    }
    return input;
}

void WriteText(OutputStream stream, std::string_view utf8) {
    std::FILE* file = stream == OutputStream::Standard ? stdout : stderr;
    std::fwrite(utf8.data(), 1, utf8.size(), file);
    std::fflush(file);
}

}  // namespace tarvelo
