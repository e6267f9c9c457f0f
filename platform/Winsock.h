// The Windows Sockets calls that Socket (mail/Socket.h) makes, under their Winsock names.
// On Windows they are ws2_32's own; elsewhere this is a thin layer over POSIX sockets that
// keeps Winsock's contract: results of -1 (SOCKET_ERROR), a socket handle that is never 0, no
// SIGPIPE from send. Why a call failed is asked afterwards, as Winsock does, with
// LastSocketError, and a look-up's result read with ToLookupError; both give the same few
// reasons on every platform.
//
// The POSIX layer is the library tarvelo_winsock, one translation unit (Winsock.cpp). A test
// that needs the start, the look-up or the connection to fail links a fake .cpp that defines
// every function declared below instead; the linker then never pulls Winsock.cpp in.
//
// Call the functions qualified (winsock::connect): the POSIX ones of the same names are in
// the global namespace. Constants and types are used unqualified, as on Windows they are
// macros and global names (Socket.cpp says `using namespace winsock`).
#pragma once

#include <chrono>
#include <cstdint>

namespace tarvelo::winsock {

// Why a socket call failed, or why a connection being made did.
enum class SocketError : std::uint8_t {
    None,
    WouldBlock,   // nothing could be done now on a non-blocking socket; try when it is ready
    InProgress,   // a non-blocking connect goes on; wait for the socket to become writable
    Refused,      // nobody listens there
    Unreachable,  // no route to the network or the host
    TimedOut,     // the host never answered
    Other,
};

// Why a look-up (getaddrinfo) failed.
enum class LookupError : std::uint8_t {
    None,
    NotFound,   // the name does not exist, or has no address
    Temporary,  // the resolver could not answer now
    Other,
};

}  // namespace tarvelo::winsock

#ifdef _WIN32

#include <winsock2.h>
#include <ws2tcpip.h>

namespace tarvelo::winsock {
using ::addrinfo;
using ::closesocket;
using ::connect;
using ::freeaddrinfo;
using ::getaddrinfo;
using ::gethostbyname;
using ::getpeername;
using ::getsockopt;
using ::inet_addr;
using ::ioctlsocket;
using ::recv;
using ::select;
using ::send;
using ::setsockopt;
using ::SOCKET;
using ::socket;
using ::WSADATA;
using ::WSAStartup;

// code: a WSAGetLastError value, or one that SO_ERROR gave.
inline SocketError ToSocketError(int code) {
    switch (code) {
        case 0:
            return SocketError::None;
        case WSAEWOULDBLOCK:
            return SocketError::WouldBlock;
        case WSAEINPROGRESS:
        case WSAEALREADY:
            return SocketError::InProgress;
        case WSAECONNREFUSED:
            return SocketError::Refused;
        case WSAENETUNREACH:
        case WSAEHOSTUNREACH:
        case WSAENETDOWN:
            return SocketError::Unreachable;
        case WSAETIMEDOUT:
            return SocketError::TimedOut;
        default:
            return SocketError::Other;
    }
}

inline int LastSocketErrorCode() {
    return ::WSAGetLastError();
}

inline LookupError ToLookupError(int result) {
    switch (result) {
        case 0:
            return LookupError::None;
        case WSAHOST_NOT_FOUND:
        case WSANO_DATA:
            return LookupError::NotFound;
        case WSATRY_AGAIN:
            return LookupError::Temporary;
        default:
            return LookupError::Other;
    }
}
}  // namespace tarvelo::winsock

#else

#include <arpa/inet.h>    // htons
#include <netdb.h>        // hostent
#include <netinet/in.h>   // sockaddr_in, INADDR_NONE, IPPROTO_TCP
#include <netinet/tcp.h>  // TCP_NODELAY
#include <sys/ioctl.h>    // FIONBIO
#include <sys/select.h>   // fd_set, FD_SET, timeval
#include <sys/socket.h>   // AF_INET, SOCK_STREAM, SOCK_DGRAM, sockaddr

#include <cerrno>

namespace tarvelo::winsock {

using ::addrinfo;
using SOCKET = int;
inline constexpr SOCKET INVALID_SOCKET = -1;
inline constexpr int SOCKET_ERROR = -1;

// The fields that Winsock 1.1 fills in; iMaxSockets 0 means the library cannot be used.
struct WSADATA {
    std::uint16_t wVersion;
    std::uint16_t wHighVersion;
    char szDescription[257];
    char szSystemStatus[129];
    std::uint16_t iMaxSockets;
    std::uint16_t iMaxUdpDg;
};

// versionRequested: major version in the low byte (0x0101 is 1.1). 0 when started.
int WSAStartup(std::uint16_t versionRequested, WSADATA* data);

// INVALID_SOCKET on failure.
SOCKET socket(int af, int type, int protocol);

// 0 or SOCKET_ERROR (for a non-blocking socket also while the connection is still being made).
int connect(SOCKET s, const sockaddr* name, int nameLength);

// Bytes taken, or SOCKET_ERROR; a peer that has gone away gives SOCKET_ERROR, never a signal.
int send(SOCKET s, const char* buffer, int length, int flags);

// Bytes read (at most length), 0 when the peer closed the connection, or SOCKET_ERROR.
int recv(SOCKET s, char* buffer, int length, int flags);

// Count of sockets ready, 0 when the time ran out, or SOCKET_ERROR. nfds is ignored by Winsock
// but needed here: the highest socket in the sets plus 1.
int select(int nfds, fd_set* readFds, fd_set* writeFds, fd_set* exceptFds, const timeval* timeout);

// 0 or SOCKET_ERROR.
int closesocket(SOCKET s);

// Sets one option of the socket (value points at optionLength bytes). 0 or SOCKET_ERROR.
int setsockopt(SOCKET s, int level, int option, const char* value, int optionLength);

// FIONBIO (the only command supported here) with *argument non-zero makes the socket
// non-blocking, with 0 blocking again. 0 or SOCKET_ERROR.
int ioctlsocket(SOCKET s, long command, unsigned long* argument);

// 0 when the socket is connected, else SOCKET_ERROR.
int getpeername(SOCKET s, sockaddr* name, int* nameLength);

// The address in network byte order, or INADDR_NONE when text is not a dotted IPv4 address.
std::uint32_t inet_addr(const char* text);

// Null when the name cannot be looked up; IPv4 addresses only.
hostent* gethostbyname(const char* name);

// 0 and *result the list of addresses (free it with freeaddrinfo), or a code for ToLookupError.
int getaddrinfo(const char* node, const char* service, const addrinfo* hints, addrinfo** result);
void freeaddrinfo(addrinfo* list);

// One option of the socket into value (SO_ERROR: why a connection being made failed). 0 or
// SOCKET_ERROR.
int getsockopt(SOCKET s, int level, int option, char* value, int* optionLength);

// code: an errno value, or one that SO_ERROR gave.
inline SocketError ToSocketError(int code) {
    switch (code) {
        case 0:
            return SocketError::None;
        case EAGAIN:
#if EWOULDBLOCK != EAGAIN
        case EWOULDBLOCK:
#endif
            return SocketError::WouldBlock;
        case EINPROGRESS:
        case EALREADY:
            return SocketError::InProgress;
        case ECONNREFUSED:
            return SocketError::Refused;
        case ENETUNREACH:
        case EHOSTUNREACH:
        case ENETDOWN:
            return SocketError::Unreachable;
        case ETIMEDOUT:
            return SocketError::TimedOut;
        default:
            return SocketError::Other;
    }
}

inline int LastSocketErrorCode() {
    return errno;
}

inline LookupError ToLookupError(int result) {
    switch (result) {
        case 0:
            return LookupError::None;
        case EAI_NONAME:
        case EAI_NODATA:
        case EAI_ADDRFAMILY:
            return LookupError::NotFound;
        case EAI_AGAIN:
            return LookupError::Temporary;
        default:
            return LookupError::Other;
    }
}

}  // namespace tarvelo::winsock

#endif

namespace tarvelo::winsock {
// Why the socket call just made failed.
inline SocketError LastSocketError() {
    return ToSocketError(LastSocketErrorCode());
}

// A span as select's time-out.
inline timeval ToTimeval(std::chrono::milliseconds span) {
    timeval result{};
    result.tv_sec = static_cast<decltype(result.tv_sec)>(span.count() / 1000);
    result.tv_usec = static_cast<decltype(result.tv_usec)>(span.count() % 1000 * 1000);
    return result;
}
}  // namespace tarvelo::winsock
