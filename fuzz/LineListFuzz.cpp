// The settings file reader on any bytes: lines without line ends, which survive being written
// and read back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzSupport.h"
#include "settings/LineList.h"

namespace {

using tarvelo::fuzz::Require;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const tarvelo::LineList lines = tarvelo::ParseLines(bytes);
    std::size_t lineBytes = 0;
    for (const std::string& line : lines) {
        Require(line.find_first_of("\r\n") == std::string::npos, "a line holds no CR or LF");
        lineBytes += line.size();
    }
    // Every line but possibly the last has a line end of its own in the bytes read.
    Require(lineBytes + (lines.empty() ? 0 : lines.size() - 1) <= bytes.size(),
            "the lines come from the bytes read");

    const std::string written = tarvelo::FormatLines(lines);
    Require(written.size() == lineBytes + 2 * lines.size(), "every line is written with CR LF");
    Require(tarvelo::ParseLines(written) == lines, "lines written and read back are the same");
    return 0;
}
