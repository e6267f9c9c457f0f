// Why Schannel or the certificate check refused a connection, in the words tarvelo-send and the
// windows show after "the TLS handshake failed: " or "the server's certificate is refused: ".
// The three reasons a user can act on (expired, not trusted, another name) read as they do on
// Linux; the rest name the code, for whoever looks it up. Windows builds only.
#pragma once

#include <cstdint>
#include <string>

namespace tarvelo {

// status: what InitializeSecurityContext, DecryptMessage or AcquireCredentialsHandle gave.
std::string SecurityStatusText(std::int32_t status);

// The policy error that a chain's own trust status (CERT_TRUST_STATUS's dwErrorStatus) stands
// for, 0 for none: wine's SSL policy lets some pass (a chain that ends short of any root), so
// the chain's errors are read as well. Of several, the one a user can act on first: the date.
std::uint32_t ChainTrustError(std::uint32_t errorStatus);

// error: the dwError of CertVerifyCertificateChainPolicy's status with the SSL policy.
// byAddress: the server was named by an IP address, checked against the certificate's.
std::string CertificateRefusal(std::uint32_t error, bool byAddress);

}  // namespace tarvelo
