#include "mail/Socket.h"

#include <algorithm>
#include <cassert>
#include <cstdlib>
#include <cstring>

namespace tarvelo {

using namespace winsock;
using std::chrono::milliseconds;

namespace {

// Winsock 1.1: major version in the low byte, minor in the high byte.
constexpr std::uint16_t kWinsockVersion = 0x0101;

timeval ToTimeval(milliseconds span) {
    timeval result{};
    result.tv_sec = static_cast<decltype(result.tv_sec)>(span.count() / 1000);
    result.tv_usec = static_cast<decltype(result.tv_usec)>(span.count() % 1000 * 1000);
    return result;
}

ConnectFailure FromSocketError(SocketError error) {
    switch (error) {
        case SocketError::Refused:
            return ConnectFailure::Refused;
        case SocketError::Unreachable:
            return ConnectFailure::Unreachable;
        case SocketError::TimedOut:
            return ConnectFailure::TimedOut;
        case SocketError::None:
        case SocketError::WouldBlock:
        case SocketError::InProgress:
        case SocketError::Other:
            break;
    }
    return ConnectFailure::Other;
}

ConnectFailure FromLookupError(LookupError error) {
    switch (error) {
        case LookupError::NotFound:
            return ConnectFailure::NameNotFound;
        case LookupError::Temporary:
            return ConnectFailure::ResolverTemporary;
        case LookupError::None:
        case LookupError::Other:
            break;
    }
    return ConnectFailure::Other;
}

// The addresses of a name, freed when it goes.
class Addresses {
public:
    Addresses(const char* host, LookupError& error) {
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        error = ToLookupError(winsock::getaddrinfo(host, nullptr, &hints, &list_));
        if (error != LookupError::None) {
            list_ = nullptr;
        }
    }
    ~Addresses() {
        if (list_ != nullptr) {
            winsock::freeaddrinfo(list_);
        }
    }
    Addresses(const Addresses&) = delete;
    Addresses& operator=(const Addresses&) = delete;
    const addrinfo* begin() const { return list_; }

private:
    addrinfo* list_ = nullptr;
};

void SetPort(sockaddr* address, std::uint16_t port) {
    if (address->sa_family == AF_INET6) {
        reinterpret_cast<sockaddr_in6*>(address)->sin6_port = htons(port);
    } else {
        reinterpret_cast<sockaddr_in*>(address)->sin_port = htons(port);
    }
}

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
    // A dotted address is used as it is and never looked up, as it always was.
    sockaddr_in dotted{};
    dotted.sin_family = AF_INET;
    dotted.sin_addr.s_addr = winsock::inet_addr(host);
    if (dotted.sin_addr.s_addr != INADDR_NONE) {
        dotted.sin_port = htons(portNumber);
        failure = ConnectWithin(reinterpret_cast<const sockaddr*>(&dotted),
                                static_cast<int>(sizeof dotted), timeout);
        status = failure == ConnectFailure::None ? 0 : -1;
        return status;
    }
    LookupError lookup = LookupError::None;
    const Addresses addresses(host, lookup);
    if (lookup != LookupError::None || addresses.begin() == nullptr) {
        failure =
            lookup == LookupError::None ? ConnectFailure::NameNotFound : FromLookupError(lookup);
        return status;
    }
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    bool fresh = true;  // the constructor's socket has not been tried yet
    for (const addrinfo* entry = addresses.begin(); entry != nullptr; entry = entry->ai_next) {
        if ((!fresh || entry->ai_family != AF_INET) && !Renew(entry->ai_family)) {
            continue;
        }
        fresh = false;
        // A black hole at the first address must leave time for the others.
        int left = 0;
        for (const addrinfo* rest = entry; rest != nullptr; rest = rest->ai_next) {
            ++left;
        }
        const auto remaining =
            std::chrono::duration_cast<milliseconds>(deadline - std::chrono::steady_clock::now());
        sockaddr_storage address{};
        std::memcpy(&address, entry->ai_addr,
                    std::min(sizeof address, static_cast<std::size_t>(entry->ai_addrlen)));
        SetPort(reinterpret_cast<sockaddr*>(&address), portNumber);
        failure = ConnectWithin(reinterpret_cast<const sockaddr*>(&address),
                                static_cast<int>(entry->ai_addrlen),
                                std::max(milliseconds(0), remaining / left));
        if (failure == ConnectFailure::None) {
            status = 0;
            return status;
        }
    }
    return status;
}

// The connection is made without blocking so that a server that never answers costs at most
// timeout, and the socket stays so: every wait afterwards is a select with a time-out of its
// own.
ConnectFailure Socket::ConnectWithin(const sockaddr* address, int length, milliseconds timeout) {
    unsigned long nonBlocking = 1;
    if (winsock::ioctlsocket(handle, FIONBIO, &nonBlocking) != 0) {
        return ConnectFailure::Other;
    }
    if (winsock::connect(handle, address, length) == 0) {
        return ConnectFailure::None;
    }
    const SocketError error = LastSocketError();
    if (error != SocketError::InProgress && error != SocketError::WouldBlock &&
        error != SocketError::Other) {
        return FromSocketError(error);
    }
    if (WaitForConnection(timeout) <= 0) {
        return ConnectFailure::TimedOut;
    }
    int code = 0;
    int codeLength = static_cast<int>(sizeof code);
    if (winsock::getsockopt(handle, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&code),
                            &codeLength) != 0) {
        return ConnectFailure::Other;
    }
    if (code != 0) {
        return FromSocketError(ToSocketError(code));
    }
    // Writable with no error, yet a platform may still not have the peer: ask for it.
    sockaddr_storage peer{};
    int peerLength = static_cast<int>(sizeof peer);
    return winsock::getpeername(handle, reinterpret_cast<sockaddr*>(&peer), &peerLength) == 0
               ? ConnectFailure::None
               : ConnectFailure::Other;
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

int Socket::WaitForConnection(milliseconds timeout) const {
    if (handle == 0) {
        return SOCKET_ERROR;
    }
    fd_set mine;
    FD_ZERO(&mine);
    FD_SET(handle, &mine);
    fd_set failed = mine;
    // Not const: Windows' select takes a pointer to a changeable timeval.
    timeval limit = ToTimeval(timeout);
    // A failed connection shows as writable on POSIX and in the exception set on Windows.
    return winsock::select(static_cast<int>(handle) + 1, nullptr, &mine, &failed, &limit);
}

}  // namespace tarvelo
