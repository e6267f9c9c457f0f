// The connection the programs send through: TCP that can turn to TLS. Built by the library
// tarvelo_tls, whose side is chosen in CMake: OpenSSL where it is found (TlsOpenSsl.cpp), and
// elsewhere plain TCP whose StartTls ends the sending with its reason (TlsNone.cpp). Neither
// the windows nor the core see the TLS library.
#pragma once

#include <memory>

#include "mail/Transport.h"

namespace tarvelo {

std::unique_ptr<Transport> MakeTransport();

}  // namespace tarvelo
