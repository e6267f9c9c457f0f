#include <string.h>
#include <sys/resource.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

#include <algorithm>

#include "platform/SecretText.h"

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
        // explicit_bzero: a plain memset of memory about to be freed may be left out.
        ::explicit_bzero(bytes_.get(), size_);
    }
    bytes_.reset();
    size_ = 0;
}

void KeepSecretsOutOfCoreDumps() {
    const rlimit none{0, 0};
    ::setrlimit(RLIMIT_CORE, &none);
#ifdef __linux__
    // A core_pattern that pipes to a collector ignores the limit; an undumpable process is
    // not dumped at all (and cannot be traced by other processes of the user either).
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
#endif
}

}  // namespace tarvelo
