#include <langinfo.h>

#include <algorithm>
#include <clocale>
#include <csignal>
#include <string_view>
#include <utility>

#include "platform/ConsoleText.h"
#include "platform/Iconv.h"

namespace tarvelo {

void StartConsole() {
    std::setlocale(LC_CTYPE, "");
    std::signal(SIGPIPE, SIG_IGN);
}

std::string ConsoleEncoding() {
    const std::string codeset = nl_langinfo(CODESET);
    if (codeset.empty() || codeset == "ANSI_X3.4-1968" || codeset == "ASCII") {
        return "UTF-8";
    }
    // An encoding that iconv cannot convert, both ways, would leave the program without words.
    const std::string utf8 = "UTF-8";
    for (const auto& [to, from] : {std::pair{codeset, utf8}, std::pair{utf8, codeset}}) {
        const iconv_t probe = iconv_open(to.c_str(), from.c_str());
        if (probe == reinterpret_cast<iconv_t>(-1)) {
            return "UTF-8";
        }
        iconv_close(probe);
    }
    return codeset;
}

std::optional<std::string> ConsoleToUtf8(std::string_view bytes, const std::string& encoding) {
    std::string utf8;
    if (!Converter("UTF-8", encoding.c_str()).Convert(bytes, utf8)) {
        return std::nullopt;
    }
    return utf8;
}

std::string Utf8ToConsole(std::string_view utf8, const std::string& encoding) {
    Converter converter(encoding.c_str(), "UTF-8");
    std::string out;
    while (!converter.Convert(utf8, out)) {
        out.push_back('?');
        utf8.remove_prefix(
            std::min(utf8.size(), Utf8SequenceLength(static_cast<unsigned char>(utf8[0]))));
    }
    return out;
}

}  // namespace tarvelo
