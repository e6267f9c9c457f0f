#include <iconv.h>

#include <array>
#include <cerrno>
#include <stdexcept>

#include "platform/CodePage932.h"

namespace tarvelo {

namespace {

iconv_t Descriptor(void* handle) {
    return static_cast<iconv_t>(handle);
}

}  // namespace

CodePage932::CodePage932(Direction direction) : direction_(direction) {
    const char* to = direction == Direction::FromUtf8 ? "CP932" : "UTF-8";
    const char* from = direction == Direction::FromUtf8 ? "UTF-8" : "CP932";
    const iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
    }
    handle_ = cd;
}

CodePage932::~CodePage932() {
    iconv_close(Descriptor(handle_));
}

bool CodePage932::Convert(std::string_view& in, std::string& out) {
    std::array<char, 4096> chunk;
    while (!in.empty()) {
        char* source = const_cast<char*>(in.data());
        std::size_t sourceLeft = in.size();
        char* target = chunk.data();
        std::size_t targetLeft = chunk.size();
        const std::size_t result =
            iconv(Descriptor(handle_), &source, &sourceLeft, &target, &targetLeft);
        out.append(chunk.data(), chunk.size() - targetLeft);
        in.remove_prefix(in.size() - sourceLeft);
        if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
            iconv(Descriptor(handle_), nullptr, nullptr, nullptr, nullptr);
            return false;
        }
    }
    return true;
}

}  // namespace tarvelo
