#include "platform/SecretText.h"

#include <algorithm>

namespace tarvelo {

SecretText::SecretText(std::string_view text)
    : bytes_(std::make_unique<char[]>(text.size() + 1)),
      size_(text.size()),
      capacity_(text.size()) {
    KeepSecretsOutOfCoreDumps();
    std::copy(text.begin(), text.end(), bytes_.get());
}

SecretText SecretText::OfSize(std::size_t size) {
    SecretText secret;
    KeepSecretsOutOfCoreDumps();
    // make_unique value-initialises: the bytes are zeros, the one after them too.
    secret.bytes_ = std::make_unique<char[]>(size + 1);
    secret.size_ = size;
    secret.capacity_ = size;
    return secret;
}

void SecretText::Append(std::string_view text) {
    if (size_ + text.size() > capacity_ || !bytes_) {
        SecretText grown = OfSize(std::max(size_ + text.size(), 2 * capacity_ + 16));
        std::copy(view().begin(), view().end(), grown.bytes_.get());
        grown.size_ = size_;
        *this = std::move(grown);
    }
    std::copy(text.begin(), text.end(), bytes_.get() + size_);
    size_ += text.size();
    bytes_[size_] = '\0';
}

SecretText::SecretText(SecretText&& other) noexcept
    : bytes_(std::move(other.bytes_)), size_(other.size_), capacity_(other.capacity_) {
    other.size_ = 0;
    other.capacity_ = 0;
}

SecretText& SecretText::operator=(SecretText&& other) noexcept {
    if (this != &other) {
        Wipe();
        bytes_ = std::move(other.bytes_);
        size_ = other.size_;
        capacity_ = other.capacity_;
        other.size_ = 0;
        other.capacity_ = 0;
    }
    return *this;
}

SecretText::~SecretText() {
    Wipe();
}

void SecretText::Wipe() noexcept {
    if (bytes_) {
        WipeBytes(bytes_.get(), capacity_);
    }
    bytes_.reset();
    size_ = 0;
    capacity_ = 0;
}

}  // namespace tarvelo
