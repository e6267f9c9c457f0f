#include "mail/tls/SchannelReasons.h"

#include <windows.h>
// Needs windows.h.
#include <wincrypt.h>

#include <array>
#include <cstdio>
#include <utility>

namespace tarvelo {

namespace {

std::string CodeText(const char* what, std::uint32_t code) {
    char text[48];
    std::snprintf(text, sizeof text, "%s 0x%08lX", what, static_cast<unsigned long>(code));
    return text;
}

// A chain's error bits and the policy error each stands for, the first that is set winning.
constexpr std::array<std::pair<DWORD, HRESULT>, 6> kChainErrors{{
    {CERT_TRUST_IS_NOT_TIME_VALID, CERT_E_EXPIRED},
    {CERT_TRUST_IS_REVOKED, CERT_E_REVOKED},
    {CERT_TRUST_IS_NOT_SIGNATURE_VALID, TRUST_E_CERT_SIGNATURE},
    {CERT_TRUST_IS_UNTRUSTED_ROOT, CERT_E_UNTRUSTEDROOT},
    {CERT_TRUST_IS_PARTIAL_CHAIN, CERT_E_CHAINING},
    {CERT_TRUST_IS_NOT_VALID_FOR_USAGE, CERT_E_WRONG_USAGE},
}};

}  // namespace

std::uint32_t ChainTrustError(std::uint32_t errorStatus) {
    for (const auto& [bit, error] : kChainErrors) {
        if ((errorStatus & bit) != 0) {
            return static_cast<std::uint32_t>(error);
        }
    }
    return 0;
}

std::string SecurityStatusText(std::int32_t status) {
    switch (static_cast<HRESULT>(status)) {
        case SEC_E_ALGORITHM_MISMATCH:
            return "no TLS version (1.2 at least) or cipher in common with the server";
        case SEC_E_ILLEGAL_MESSAGE:
            return "the server sent a message that TLS does not allow";
        case SEC_E_MESSAGE_ALTERED:
        case SEC_E_DECRYPT_FAILURE:
            return "a record did not decrypt (altered on the way)";
        case SEC_E_UNSUPPORTED_FUNCTION:
            return "the server asked for something TLS 1.2 does not do";
        case SEC_E_NO_CREDENTIALS:
        case SEC_E_INSUFFICIENT_MEMORY:
        case SEC_E_INTERNAL_ERROR:
        case SEC_E_SECPKG_NOT_FOUND:
            return "Schannel cannot start (" +
                   CodeText("SSPI", static_cast<std::uint32_t>(status)) + ")";
        default:
            break;
    }
    return CodeText("SSPI error", static_cast<std::uint32_t>(status));
}

std::string CertificateRefusal(std::uint32_t error, bool byAddress) {
    switch (static_cast<HRESULT>(error)) {
        case CERT_E_EXPIRED:
            return "certificate has expired or is not yet valid";
        case CERT_E_UNTRUSTEDROOT:
        case CERT_E_CHAINING:
        case CERT_E_UNTRUSTEDCA:
        case TRUST_E_CERT_SIGNATURE:
            return "certificate is not trusted (its issuer is not a trusted CA)";
        case CERT_E_CN_NO_MATCH:
            return byAddress ? "IP address mismatch" : "hostname mismatch";
        case CERT_E_REVOKED:
            return "certificate revoked";
        case CERT_E_WRONG_USAGE:
        case CERT_E_PURPOSE:
            return "certificate is not for a server";
        case CERT_E_ROLE:
            return "a certificate in the chain may not issue others";
        default:
            break;
    }
    return CodeText("certificate error", error);
}

}  // namespace tarvelo
