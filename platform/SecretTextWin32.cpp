#include <windows.h>

#include "platform/SecretText.h"

namespace tarvelo {

void WipeBytes(char* bytes, std::size_t size) noexcept {
    SecureZeroMemory(bytes, size);
}

void KeepSecretsOutOfCoreDumps() {
    // Windows writes no dump of a crashed program unless the user has asked Windows Error
    // Reporting for one; that choice stays the user's.
}

}  // namespace tarvelo
