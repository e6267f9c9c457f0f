#include "mail/Socket.h"

#include <algorithm>
#include <cassert>
#include <cstdlib>
#include <cstring>

namespace tarvelo {

using namespace winsock;

namespace {

// Winsock 1.1: major version in the low byte, minor in the high byte.
constexpr std::uint16_t kWinsockVersion = 0x0101;

timeval ToTimeval(std::chrono::milliseconds span) {
    timeval result{};
    result.tv_sec = static_cast<decltype(result.tv_sec)>(span.count() / 1000);
    result.tv_usec = static_cast<decltype(result.tv_usec)>(span.count() % 1000 * 1000);
    return result;
}

}  // namespace

Socket::Socket(int protocol) {
    if (!started) {
        started = true;
        WSADATA data{};
        if (winsock::WSAStartup(kWinsockVersion, &data) != 0 || data.iMaxSockets == 0) {
            started = false;
            return;
        }
    }
    assert((protocol == SOCK_STREAM) || (protocol == SOCK_DGRAM));
    const SOCKET created = winsock::socket(AF_INET, protocol, 0);
    handle = created == INVALID_SOCKET ? 0 : created;
    if (handle != 0 && protocol == SOCK_STREAM) {
        // Each line goes out in a send of its own: with Nagle's algorithm the lines after the
        // first of the mail would wait for the server's delayed acknowledgement (some 40 ms).
        const int on = 1;
        winsock::setsockopt(handle, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on),
                            static_cast<int>(sizeof on));
    }
}

Socket::~Socket() {
    status = 0;
    if (handle != 0) {
        status = winsock::closesocket(handle);
    }
}

int Socket::Connect(const char* host, const char* port) {
    // Without a socket the platform would reject the connect; POSIX would take handle 0 for
    // stdin, so say no here.
    if (!started || handle == 0) {
        status = -1;
        return status;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    // atoi's reading without its overflow: the value is cut to 16 bits either way.
    address.sin_port = htons(static_cast<std::uint16_t>(std::strtol(port, nullptr, 10)));
    address.sin_addr.s_addr = winsock::inet_addr(host);
    if (address.sin_addr.s_addr == INADDR_NONE) {
        const hostent* entry = winsock::gethostbyname(host);
        if (entry == nullptr || entry->h_addr_list[0] == nullptr) {
            status = -1;
            return status;
        }
        std::memcpy(&address.sin_addr, entry->h_addr_list[0], sizeof address.sin_addr);
    }
    status = ConnectWithin(address);
    return status;
}

// The connection is made without blocking so that a server that never answers costs at most
// connectTimeout, and the socket stays so: every wait afterwards is a select with a time-out of
// its own. Whether it connected is asked with getpeername, as reading the error code is not
// Winsock 1.1's way here.
int Socket::ConnectWithin(const sockaddr_in& address) {
    unsigned long nonBlocking = 1;
    if (winsock::ioctlsocket(handle, FIONBIO, &nonBlocking) != 0) {
        return SOCKET_ERROR;
    }
    int result = winsock::connect(handle, reinterpret_cast<const sockaddr*>(&address),
                                  static_cast<int>(sizeof address));
    if (result != 0 && WaitFor(true, connectTimeout) > 0) {
        sockaddr_in peer{};
        int peerLength = static_cast<int>(sizeof peer);
        result = winsock::getpeername(handle, reinterpret_cast<sockaddr*>(&peer), &peerLength);
    }
    return result == 0 ? 0 : SOCKET_ERROR;
}

// A server that stops reading fills the socket's buffer; each send waits for room only as long
// as the block's sendTimeout has left.
int Socket::SendAll(const char* data, int length) {
    if (length > 0 && handle == 0) {
        status = -1;
        return status;
    }
    const auto deadline = std::chrono::steady_clock::now() + sendTimeout;
    while (length > 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (WaitFor(true, std::max(left, std::chrono::milliseconds(0))) != 1) {
            status = -1;
            break;
        }
        status = winsock::send(handle, data, length, 0);
        if (status <= 0) {
            break;
        }
        data += status;
        length -= status;
    }
    return status;
}

// Each read waits for data first, so that a server that stops in the middle of a reply costs
// at most readTimeout; the first one normally finds it waiting, as Select said readable.
int Socket::ReceiveLine(char* buffer, int size) {
    int total = 0;
    while (total < size) {
        if (WaitFor(false, readTimeout) != 1) {
            status = -1;
            break;
        }
        status = winsock::recv(handle, buffer + total, size - total, 0);
        if (status <= 0) {
            break;
        }
        total += status;
        if (buffer[total - 1] == '\n') {
            break;
        }
    }
    buffer[total] = '\0';
    return total;
}

int Socket::Receive(char* buffer, int size) {
    // POSIX would take handle 0 for stdin.
    status = handle == 0 ? -1 : winsock::recv(handle, buffer, size, 0);
    return status;
}

int Socket::Select(int seconds) {
    return WaitFor(false, std::chrono::seconds(seconds));
}

int Socket::Select(std::chrono::milliseconds wait) {
    return WaitFor(false, wait);
}

int Socket::WaitFor(bool forWriting, std::chrono::milliseconds timeout) const {
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
    return forWriting
               ? winsock::select(static_cast<int>(handle) + 1, nullptr, &mine, &failed, &limit)
               : winsock::select(static_cast<int>(handle) + 1, &mine, nullptr, nullptr, &limit);
}

}  // namespace tarvelo
