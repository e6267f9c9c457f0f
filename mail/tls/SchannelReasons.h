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

// error: the dwError of CertVerifyCertificateChainPolicy's status with the SSL policy.
// byAddress: the server was named by an IP address, checked against the certificate's.
std::string CertificateRefusal(std::uint32_t error, bool byAddress);

}  // namespace tarvelo
