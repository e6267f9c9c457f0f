#include "platform/SecretStore.h"

namespace tarvelo {

StoredPassword LookUpPassword(std::string_view, std::string_view, const std::function<void()>&) {
    return {};
}

bool StorePassword(std::string_view, std::string_view, std::string_view) {
    return false;
}

std::string_view NoPasswordReason(SecretLookup) {
    return "no keyring is running";
}

}  // namespace tarvelo
