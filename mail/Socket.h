// One TCP connection over Windows Sockets (platform/Winsock.h), for the SMTP session.
//
// Nothing here raises. Every operation that calls the platform leaves its result in `status`
// and the caller tests it: 0 or -1 after Connect, the byte count or -1 after SendSome and
// Receive, 0 or -1 after the close in the destructor.
//
// No call waits for ever: each that may wait takes its bound as an argument, the name look-up
// included (mail/Connector.h).
#pragma once

#include <chrono>
#include <cstdint>

#include "mail/SendEnd.h"
#include "platform/Winsock.h"

namespace tarvelo {

// The bound of a connection, a read and a send when the caller names none.
inline constexpr std::chrono::milliseconds kSocketTimeout = std::chrono::seconds(30);

class Socket {
public:
    // protocol: SOCK_STREAM or SOCK_DGRAM; anything else stops the program by assertion. When
    // the library cannot be started the object has no socket (handle 0) and Connect fails.
    explicit Socket(int protocol);
    // Closes the socket, if there is one.
    ~Socket();

    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    // host: a dotted IPv4 address (used as it is), or a name or an IPv6 address, looked up
    // and its addresses tried as Connector does, all within timeout. port: decimal text read
    // as atoi does: no digits give port 0.
    // Returns `status`: 0 when connected; -1 when the library is not started, there is no
    // socket, the name is unknown, or no address took the connection within timeout. Why it
    // failed stays in `failure`.
    int Connect(const char* host, const char* port,
                std::chrono::milliseconds timeout = kSocketTimeout);

    // Takes a socket that Connector connected in place of the one there is.
    void Adopt(winsock::SOCKET connected);

    // One send of what the socket takes now, without waiting. Returns `status`: the bytes
    // taken, 0 when the socket takes none now (its buffer is full), -1 when the send failed.
    int SendSome(const char* data, int length);

    // One read of what is waiting, at most size bytes, without a terminating zero; call it when
    // Wait has said readable, and it returns at once. Returns `status`: the byte count, 0 when
    // the peer closed the connection, -1 when the read failed.
    int Receive(char* buffer, int size);

    // Waits at most wait until the socket is readable (data or the peer's close), or writable
    // too when forWriting. `status` is left alone.
    // kReadable and kWritable or'ed together, 0 when the time ran out, -1 error or no socket.
    int Wait(bool forWriting, std::chrono::milliseconds wait) const;
    static constexpr int kReadable = 1;
    static constexpr int kWritable = 2;

    std::int32_t status = 0;
    // 0: no socket.
    winsock::SOCKET handle = 0;
    // Why the last Connect failed; None after one that worked.
    ConnectFailure failure = ConnectFailure::None;

    // Set by the first construction, cleared again when the start fails, so that the next
    // construction tries anew. Never cleared after a start that worked.
    static inline bool started = false;

private:
    bool Renew(int family);

    int protocol_;
};

}  // namespace tarvelo
