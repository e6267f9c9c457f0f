// The connection under the SMTP conversation, as the drive loop (mail/SmtpDriver.h) uses it:
// plain TCP (TcpTransport), or TLS over it (mail/tls/TlsTransport.h; OpenSSL on Linux, another
// library may take its place on another platform). Nothing here waits except Connect and Wait.
#pragma once

#include <chrono>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "mail/SendEnd.h"
#include "mail/Socket.h"

namespace tarvelo {

// What a Receive gave.
struct TransportRead {
    enum class Kind {
        Bytes,    // count bytes arrived
        Nothing,  // none yet (for TLS: a record not yet whole, or the handshake under way)
        Closed,   // the server closed the connection
        Failed,   // the read failed; for TLS, TlsFailure() says why when the handshake failed
    };
    Kind kind = Kind::Nothing;
    std::size_t count = 0;
};

// What a Send took.
struct TransportSend {
    bool failed = false;
    std::size_t taken = 0;  // 0 and not failed: the socket takes nothing now
};

// Which TLS to start, and what to trust.
struct TlsRequest {
    std::string host;    // the name the certificate must bear, also sent as SNI
    std::string caFile;  // empty: the system's trust store alone
};

class Transport {
public:
    virtual ~Transport() = default;

    // Connects within timeout (see Socket::Connect). None, or why not.
    virtual ConnectFailure Connect(const std::string& host, int port,
                                   std::chrono::milliseconds timeout) = 0;
    // Sends what the connection takes now, without waiting.
    virtual TransportSend Send(std::string_view bytes) = 0;
    // One read of what is there, without waiting; at most buffer's size.
    virtual TransportRead Receive(std::span<char> buffer) = 0;
    // Waits at most wait until the connection has something to read, or until it may be
    // written when forWriting. False when the time ran out; true also on an error, which the
    // next Receive or Send then reports.
    virtual bool Wait(bool forWriting, std::chrono::milliseconds wait) = 0;
    // Bytes decrypted and kept, that no wait on the socket would announce.
    virtual bool HasBuffered() const = 0;
    // TLS needs to write before it can read on (a handshake or renegotiation).
    virtual bool WantsWrite() const = 0;
    // Begins TLS over the connection; the handshake goes on within the next Sends and
    // Receives. False when TLS cannot begin, with TlsFailure() saying why.
    virtual bool StartTls(const TlsRequest& request) = 0;
    // Whether what is sent now goes out inside TLS whose handshake, the verification of the
    // server's certificate and name included, has finished: the one word on whether TLS is up.
    virtual bool TlsActive() const = 0;
    // Why the last failed Send or Receive failed, when TLS knows better than "failed"; empty
    // otherwise. A non-empty reason means the handshake or the verification failed.
    virtual std::string TlsFailure() const = 0;
};

// Plain TCP, the classic connection; StartTls is refused.
class TcpTransport : public Transport {
public:
    TcpTransport();

    ConnectFailure Connect(const std::string& host, int port,
                           std::chrono::milliseconds timeout) override;
    TransportSend Send(std::string_view bytes) override;
    TransportRead Receive(std::span<char> buffer) override;
    bool Wait(bool forWriting, std::chrono::milliseconds wait) override;
    bool HasBuffered() const override { return false; }
    bool WantsWrite() const override { return false; }
    bool StartTls(const TlsRequest& request) override;
    bool TlsActive() const override { return false; }
    std::string TlsFailure() const override { return failure_; }

    Socket& socket() { return socket_; }

private:
    Socket socket_;
    std::string failure_;
};

}  // namespace tarvelo
