#include "mail/Socket.h"

#include <algorithm>
#include <cassert>
#include <cstdlib>
#include <optional>

#include "mail/Connector.h"

namespace tarvelo {

using namespace winsock;
using std::chrono::milliseconds;

namespace {

// Winsock 1.1: major version in the low byte, minor in the high byte.
constexpr std::uint16_t kWinsockVersion = 0x0101;

}  // namespace

Socket::Socket(int protocol) : protocol_(protocol) {
    if (!started) {
        started = true;
        WSADATA data{};
        if (winsock::WSAStartup(kWinsockVersion, &data) != 0 || data.iMaxSockets == 0) {
            started = false;
            return;
        }
    }
    assert((protocol == SOCK_STREAM) || (protocol == SOCK_DGRAM));
    Renew(AF_INET);
}

Socket::~Socket() {
    status = 0;
    if (handle != 0) {
        status = winsock::closesocket(handle);
    }
}

bool Socket::Renew(int family) {
    if (handle != 0) {
        winsock::closesocket(handle);
    }
    const SOCKET created = winsock::socket(family, protocol_, 0);
    handle = created == INVALID_SOCKET ? 0 : created;
    if (handle != 0 && protocol_ == SOCK_STREAM) {
        // Each line goes out in a send of its own: with Nagle's algorithm the lines after the
        // first of the mail would wait for the server's delayed acknowledgement (some 40 ms).
        const int on = 1;
        winsock::setsockopt(handle, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on),
                            static_cast<int>(sizeof on));
    }
    return handle != 0;
}

int Socket::Connect(const char* host, const char* port, milliseconds timeout) {
    // Without a socket the platform would reject the connect; POSIX would take handle 0 for
    // stdin, so say no here.
    failure = ConnectFailure::Other;
    status = -1;
    if (!started || handle == 0) {
        return status;
    }
    // atoi's reading without its overflow: the value is cut to 16 bits either way.
    const auto portNumber = static_cast<std::uint16_t>(std::strtol(port, nullptr, 10));
    Connector connector(host, portNumber, timeout);
    std::optional<ConnectFailure> result;
    while (!(result = connector.Step(timeout))) {
    }
    failure = *result;
    if (failure == ConnectFailure::None) {
        Adopt(connector.Take());
        status = 0;
    }
    return status;
}

void Socket::Adopt(SOCKET connected) {
    if (handle != 0) {
        winsock::closesocket(handle);
    }
    handle = connected;
}

int Socket::SendSome(const char* data, int length) {
    if (handle == 0) {
        status = -1;
        return status;
    }
    status = winsock::send(handle, data, length, 0);
    if (status < 0 && LastSocketError() == SocketError::WouldBlock) {
        status = 0;
    }
    return status;
}

int Socket::Receive(char* buffer, int size) {
    // POSIX would take handle 0 for stdin.
    status = handle == 0 ? -1 : winsock::recv(handle, buffer, size, 0);
    return status;
}

int Socket::Wait(bool forWriting, milliseconds wait) const {
    if (handle == 0) {
        return SOCKET_ERROR;
    }
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(handle, &readable);
    fd_set writable = readable;
    // Not const: Windows' select takes a pointer to a changeable timeval.
    timeval limit = ToTimeval(wait);
    const int ready = winsock::select(static_cast<int>(handle) + 1, &readable,
                                      forWriting ? &writable : nullptr, nullptr, &limit);
    if (ready <= 0) {
        return ready;
    }
    return (FD_ISSET(handle, &readable) ? kReadable : 0) |
           (forWriting && FD_ISSET(handle, &writable) ? kWritable : 0);
}

}  // namespace tarvelo
