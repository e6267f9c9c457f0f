// The reasons a refused TLS connection gives on Windows: the three a user can act on read as
// the Linux build's do (OpenSSL's words for a name or an address that does not match); a code
// without words of its own is shown as a number, never as another reason.
#include <windows.h>
// Needs windows.h.
#include <wincrypt.h>

#include <gtest/gtest.h>

#include "mail/tls/SchannelReasons.h"

namespace tarvelo {
namespace {

struct RefusalRow {
    const char* name;
    HRESULT error;
    bool byAddress;
    const char* reason;
};

class CertificateRefusalTest : public ::testing::TestWithParam<RefusalRow> {};

TEST_P(CertificateRefusalTest, SaysWhy) {
    const RefusalRow& row = GetParam();
    EXPECT_EQ(CertificateRefusal(static_cast<std::uint32_t>(row.error), row.byAddress), row.reason);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CertificateRefusalTest,
    ::testing::Values(
        RefusalRow{"Expired", CERT_E_EXPIRED, false, "certificate has expired or is not yet valid"},
        RefusalRow{"SelfSigned", CERT_E_UNTRUSTEDROOT, false,
                   "certificate is not trusted (its issuer is not a trusted CA)"},
        RefusalRow{"IssuerUnknown", CERT_E_CHAINING, false,
                   "certificate is not trusted (its issuer is not a trusted CA)"},
        RefusalRow{"ForgedSignature", TRUST_E_CERT_SIGNATURE, false,
                   "certificate is not trusted (its issuer is not a trusted CA)"},
        RefusalRow{"AnotherName", CERT_E_CN_NO_MATCH, false, "hostname mismatch"},
        RefusalRow{"AnotherAddress", CERT_E_CN_NO_MATCH, true, "IP address mismatch"},
        RefusalRow{"Revoked", CERT_E_REVOKED, false, "certificate revoked"},
        RefusalRow{"ClientCertificate", CERT_E_WRONG_USAGE, false,
                   "certificate is not for a server"},
        RefusalRow{"UnknownCode", TRUST_E_FAIL, false, "certificate error 0x800B010B"}),
    [](const auto& row) { return std::string(row.param.name); });

// A chain's own errors, read because wine's SSL policy lets a chain that ends short of any root
// pass; the reason a user can act on first is the one given.
struct ChainRow {
    const char* name;
    DWORD errorStatus;
    HRESULT error;
};

class ChainTrustTest : public ::testing::TestWithParam<ChainRow> {};

TEST_P(ChainTrustTest, StandsForThePolicyError) {
    const ChainRow& row = GetParam();
    EXPECT_EQ(ChainTrustError(row.errorStatus), static_cast<std::uint32_t>(row.error));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ChainTrustTest,
    ::testing::Values(
        ChainRow{"Clean", 0, S_OK},
        ChainRow{"OnlyInformation", CERT_TRUST_IS_OFFLINE_REVOCATION, S_OK},
        ChainRow{"EndsShortOfAnyRoot", CERT_TRUST_IS_PARTIAL_CHAIN, CERT_E_CHAINING},
        ChainRow{"SelfSigned", CERT_TRUST_IS_UNTRUSTED_ROOT, CERT_E_UNTRUSTEDROOT},
        ChainRow{"Expired", CERT_TRUST_IS_NOT_TIME_VALID, CERT_E_EXPIRED},
        ChainRow{"ExpiredAndSelfSigned",
                 CERT_TRUST_IS_NOT_TIME_VALID | CERT_TRUST_IS_UNTRUSTED_ROOT, CERT_E_EXPIRED},
        ChainRow{"ForgedAndShort", CERT_TRUST_IS_NOT_SIGNATURE_VALID | CERT_TRUST_IS_PARTIAL_CHAIN,
                 TRUST_E_CERT_SIGNATURE},
        ChainRow{"Revoked", CERT_TRUST_IS_REVOKED, CERT_E_REVOKED},
        ChainRow{"ClientCertificate", CERT_TRUST_IS_NOT_VALID_FOR_USAGE, CERT_E_WRONG_USAGE}),
    [](const auto& row) { return std::string(row.param.name); });

struct StatusRow {
    const char* name;
    HRESULT status;
    const char* reason;
};

class SecurityStatusTest : public ::testing::TestWithParam<StatusRow> {};

TEST_P(SecurityStatusTest, SaysWhy) {
    const StatusRow& row = GetParam();
    EXPECT_EQ(SecurityStatusText(static_cast<std::int32_t>(row.status)), row.reason);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SecurityStatusTest,
    ::testing::Values(
        StatusRow{"OnlyOldVersions", SEC_E_ALGORITHM_MISMATCH,
                  "no TLS version (1.2 at least) or cipher in common with the server"},
        StatusRow{"NotTls", SEC_E_ILLEGAL_MESSAGE,
                  "the server sent a message that TLS does not allow"},
        StatusRow{"Altered", SEC_E_MESSAGE_ALTERED,
                  "a record did not decrypt (altered on the way)"},
        StatusRow{"NoSchannel", SEC_E_SECPKG_NOT_FOUND, "Schannel cannot start (SSPI 0x80090305)"},
        StatusRow{"UnknownCode", SEC_E_TARGET_UNKNOWN, "SSPI error 0x80090303"}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tarvelo
