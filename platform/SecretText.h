// Bytes that must not outlive their use, such as a password: wiped when they are destroyed, and
// once the program has held any, it leaves no core dump behind for the rest of the run (one
// side per platform).
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

namespace tarvelo {

class SecretText {
public:
    SecretText() = default;
    explicit SecretText(std::string_view text);
    SecretText(SecretText&& other) noexcept;
    SecretText& operator=(SecretText&& other) noexcept;
    // Copies only on purpose, through Copy(), so that no copy is made by accident.
    SecretText(const SecretText&) = delete;
    SecretText& operator=(const SecretText&) = delete;
    ~SecretText();

    SecretText Copy() const { return SecretText(view()); }
    std::string_view view() const { return {bytes_.get(), size_}; }
    // Followed by a zero byte, for C interfaces.
    const char* c_str() const { return bytes_ ? bytes_.get() : ""; }
    bool empty() const { return size_ == 0; }

private:
    void Wipe() noexcept;

    std::unique_ptr<char[]> bytes_;
    std::size_t size_ = 0;
};

// Turns core dumps off for the rest of the run; called whenever a secret enters the program,
// since its copies (in the toolkit's edit, in the TLS library's buffers) cannot all be wiped.
void KeepSecretsOutOfCoreDumps();

}  // namespace tarvelo
