#include "platform/SecretText.h"

#include <algorithm>

namespace tarvelo {

SecretText::SecretText(std::string_view text)
    : bytes_(std::make_unique<char[]>(text.size() + 1)), size_(text.size()) {
    KeepSecretsOutOfCoreDumps();
    std::copy(text.begin(), text.end(), bytes_.get());
}

SecretText::SecretText(SecretText&& other) noexcept
    : bytes_(std::move(other.bytes_)), size_(other.size_) {
    other.size_ = 0;
}

SecretText& SecretText::operator=(SecretText&& other) noexcept {
    if (this != &other) {
        Wipe();
        bytes_ = std::move(other.bytes_);
        size_ = other.size_;
        other.size_ = 0;
    }
    return *this;
}

SecretText::~SecretText() {
    Wipe();
}

void SecretText::Wipe() noexcept {
    if (bytes_) {
        WipeBytes(bytes_.get(), size_);
    }
    bytes_.reset();
    size_ = 0;
}

}  // namespace tarvelo
