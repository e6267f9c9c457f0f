// A build without a TLS library: the classic plain connection, and every sending that asks
// for TLS ends with the reason TcpTransport::StartTls gives.
#include "mail/tls/TlsTransport.h"

namespace tarvelo {

std::unique_ptr<Transport> MakeTransport() {
    return std::make_unique<TcpTransport>();
}

}  // namespace tarvelo
