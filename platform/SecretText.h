// Bytes that must not outlive their use, such as a password: wiped when they are destroyed, and
// once the program has held any, it leaves no core dump behind for the rest of the run (one
// side per platform).
#pragma once

#include <array>
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

    // size zero bytes, to be written through data(): a secret put together in place (a line
    // for the wire, say) leaves no plain copy on the way.
    static SecretText OfSize(std::size_t size);
    SecretText Copy() const { return SecretText(view()); }
    // Adds text at the end; a buffer that has to grow is wiped before it is let go.
    void Append(std::string_view text);
    char* data() { return bytes_.get(); }
    std::string_view view() const { return {bytes_.get(), size_}; }
    // Followed by a zero byte, for C interfaces.
    const char* c_str() const { return bytes_ ? bytes_.get() : ""; }
    bool empty() const { return size_ == 0; }
    std::size_t size() const { return size_; }

private:
    void Wipe() noexcept;

    std::unique_ptr<char[]> bytes_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;  // without the zero byte that follows the text
};

// Overwrites size bytes with zeros in a way the compiler may not leave out.
void WipeBytes(char* bytes, std::size_t size) noexcept;

// A buffer that is wiped however its scope ends: for reads that may bring a secret.
template <std::size_t Size>
struct WipedBuffer {
    std::array<char, Size> bytes{};
    ~WipedBuffer() { WipeBytes(bytes.data(), bytes.size()); }
};

// Turns core dumps off for the rest of the run; called whenever a secret enters the program,
// since its copies (in the toolkit's edit, in the TLS library's buffers) cannot all be wiped.
void KeepSecretsOutOfCoreDumps();

}  // namespace tarvelo
