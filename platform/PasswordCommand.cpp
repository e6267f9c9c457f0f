#include "platform/PasswordCommand.h"

namespace tarvelo {

bool FirstLine::Add(std::string_view bytes) {
    if (whole_ || tooLong_) {
        return true;
    }
    const std::size_t end = bytes.find('\n');
    line_.append(bytes.substr(0, end));
    if (line_.size() > maxBytes_) {
        // Nothing of it is kept: it is no password, and may be a great deal.
        line_.clear();
        tooLong_ = true;
        return true;
    }
    whole_ = end != std::string_view::npos;
    return whole_;
}

std::string FirstLine::Take() {
    if (line_.ends_with('\r')) {
        line_.pop_back();
    }
    return std::move(line_);
}

std::string PasswordCommandTooLong(const PasswordCommandBounds& bounds) {
    return "the password command printed more than " + std::to_string(bounds.bytes) +
           " bytes without a line end";
}

std::string PasswordCommandTooSlow(const PasswordCommandBounds& bounds) {
    const auto ms = bounds.line.count();
    return "the password command printed no line within " +
           (ms % 1000 == 0 ? std::to_string(ms / 1000) + " s" : std::to_string(ms) + " ms");
}

}  // namespace tarvelo
