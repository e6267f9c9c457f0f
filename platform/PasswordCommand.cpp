#include "platform/PasswordCommand.h"

#include <utility>

namespace tarvelo {

bool FirstLine::Add(std::string_view bytes) {
    if (whole_ || tooLong_) {
        return true;
    }
    const std::size_t end = bytes.find('\n');
    line_.Append(bytes.substr(0, end));
    if (line_.size() > maxBytes_) {
        // Nothing of it is kept: it is no password, and may be a great deal.
        line_ = SecretText();
        tooLong_ = true;
        return true;
    }
    whole_ = end != std::string_view::npos;
    return whole_;
}

SecretText FirstLine::Take() {
    if (line_.view().ends_with('\r')) {
        SecretText cut(line_.view().substr(0, line_.size() - 1));
        line_ = std::move(cut);
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
