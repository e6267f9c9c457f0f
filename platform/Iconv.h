// iconv as the platform's POSIX side uses it: a converter between two encodings that stops at
// the first byte it cannot convert, and the length of a UTF-8 sequence, to step over one.
#pragma once

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

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
        std::array<char, 4096> chunk;
        while (!in.empty()) {
            char* source = const_cast<char*>(in.data());
            std::size_t sourceLeft = in.size();
            char* target = chunk.data();
            std::size_t targetLeft = chunk.size();
            const std::size_t result = iconv(cd_, &source, &sourceLeft, &target, &targetLeft);
            out.append(chunk.data(), chunk.size() - targetLeft);
            in.remove_prefix(in.size() - sourceLeft);
            if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
                return false;
            }
        }
        return true;
    }

private:
    iconv_t cd_;
};

// Length of the UTF-8 sequence that starts with lead; 1 for a byte that starts none.
inline std::size_t Utf8SequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    return 1;
}

}  // namespace tarvelo
