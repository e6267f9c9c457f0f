// iconv as the platform's POSIX side uses it: a converter between two encodings that stops at
// the first byte it cannot convert.
#pragma once

#include <iconv.h>

#include <cerrno>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/Utf8.h"

namespace tarvelo {

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " +
                                     to);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    ~Converter() { iconv_close(cd_); }

    // Converts as much of in as iconv can, appending to out; returns false at the first byte
    // it cannot convert (errno EILSEQ or EINVAL), with in advanced up to that byte.
    bool Convert(std::string_view& in, std::string& out) {
        // Straight into out, with room for all of in: whenever its output fills, iconv converts
        // again what its own steps had taken beyond it, which made a long text cost several
        // times its conversion when it went out in small pieces.
        std::size_t room = in.size() + kSlack;
        while (!in.empty()) {
            const std::size_t used = out.size();
            out.resize(used + room);
            char* source = const_cast<char*>(in.data());
            std::size_t sourceLeft = in.size();
            char* target = out.data() + used;
            std::size_t targetLeft = room;
            const std::size_t result = iconv(cd_, &source, &sourceLeft, &target, &targetLeft);
            out.resize(out.size() - targetLeft);
            in.remove_prefix(in.size() - sourceLeft);
            if (result != static_cast<std::size_t>(-1)) {
                continue;
            }
            if (errno != E2BIG) {
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
                return false;
            }
            room = 2 * room;
        }
        return true;
    }

private:
    // Room for a character however the output grows: the longest that iconv writes at once.
    static constexpr std::size_t kSlack = 16;
    iconv_t cd_;
};

}  // namespace tarvelo
