// Winsock over POSIX sockets. Error codes stay in errno, where LastSocketError reads them as
// WSAGetLastError would.
#include "platform/Winsock.h"

#ifndef _WIN32

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace tarvelo::winsock {

int WSAStartup(std::uint16_t versionRequested, WSADATA* data) {
    // Nothing to start on POSIX; report what a Winsock 1.1 library would.
    *data = WSADATA{};
    data->wVersion = std::min<std::uint16_t>(versionRequested, 0x0101);
    data->wHighVersion = 0x0101;
    std::snprintf(data->szDescription, sizeof data->szDescription, "POSIX sockets");
    std::snprintf(data->szSystemStatus, sizeof data->szSystemStatus, "Running");
    const long openMax = sysconf(_SC_OPEN_MAX);
    data->iMaxSockets = static_cast<std::uint16_t>(std::clamp(openMax, 1L, 0xFFFFL));
    data->iMaxUdpDg = 0xFFFF;
    return 0;
}

SOCKET socket(int af, int type, int protocol) {
    SOCKET s = ::socket(af, type, protocol);
    if (s == 0) {
        // Only when stdin was closed. Winsock never hands out 0, and Socket takes 0 for "no
        // socket": move it out of the way.
        const SOCKET moved = ::fcntl(s, F_DUPFD, 1);
        ::close(s);
        s = moved;
    }
    return s < 0 ? INVALID_SOCKET : s;
}

int connect(SOCKET s, const sockaddr* name, int nameLength) {
    return ::connect(s, name, static_cast<socklen_t>(nameLength)) == 0 ? 0 : SOCKET_ERROR;
}

int send(SOCKET s, const char* buffer, int length, int flags) {
    // A peer that has gone away must give SOCKET_ERROR, as on Windows, not end the process.
    const ssize_t sent = ::send(s, buffer, static_cast<size_t>(length), flags | MSG_NOSIGNAL);
    return sent < 0 ? SOCKET_ERROR : static_cast<int>(sent);
}

int recv(SOCKET s, char* buffer, int length, int flags) {
    const ssize_t read = ::recv(s, buffer, static_cast<size_t>(length), flags);
    return read < 0 ? SOCKET_ERROR : static_cast<int>(read);
}

int select(int nfds, fd_set* readFds, fd_set* writeFds, fd_set* exceptFds, const timeval* timeout) {
    // POSIX may write the time left into the timeout; Winsock's is const.
    timeval left{};
    timeval* leftPointer = nullptr;
    if (timeout != nullptr) {
        left = *timeout;
        leftPointer = &left;
    }
    const int ready = ::select(nfds, readFds, writeFds, exceptFds, leftPointer);
    return ready < 0 ? SOCKET_ERROR : ready;
}

int closesocket(SOCKET s) {
    return ::close(s) == 0 ? 0 : SOCKET_ERROR;
}

int setsockopt(SOCKET s, int level, int option, const char* value, int optionLength) {
    return ::setsockopt(s, level, option, value, static_cast<socklen_t>(optionLength)) == 0
               ? 0
               : SOCKET_ERROR;
}

int ioctlsocket(SOCKET s, long command, unsigned long* argument) {
    if (command != FIONBIO) {
        return SOCKET_ERROR;  // the only command the program uses
    }
    int value = *argument != 0 ? 1 : 0;
    return ::ioctl(s, static_cast<unsigned long>(command), &value) == 0 ? 0 : SOCKET_ERROR;
}

int getpeername(SOCKET s, sockaddr* name, int* nameLength) {
    socklen_t length = static_cast<socklen_t>(*nameLength);
    if (::getpeername(s, name, &length) != 0) {
        return SOCKET_ERROR;
    }
    *nameLength = static_cast<int>(length);
    return 0;
}

std::uint32_t inet_addr(const char* text) {
    return ::inet_addr(text);
}

hostent* gethostbyname(const char* name) {
    return ::gethostbyname(name);
}

int getaddrinfo(const char* node, const char* service, const addrinfo* hints, addrinfo** result) {
    return ::getaddrinfo(node, service, hints, result);
}

void freeaddrinfo(addrinfo* list) {
    ::freeaddrinfo(list);
}

int getsockopt(SOCKET s, int level, int option, char* value, int* optionLength) {
    socklen_t length = static_cast<socklen_t>(*optionLength);
    if (::getsockopt(s, level, option, value, &length) != 0) {
        return SOCKET_ERROR;
    }
    *optionLength = static_cast<int>(length);
    return 0;
}

}  // namespace tarvelo::winsock

#endif
