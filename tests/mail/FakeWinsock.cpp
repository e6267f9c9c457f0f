// Defines every function of platform/Winsock.h, so that the linker takes none from
// tarvelo_winsock.
#include "mail/FakeWinsock.h"

#include <arpa/inet.h>
#include <netdb.h>

#include <cerrno>

#include "platform/Winsock.h"

namespace tarvelo::fake {
Winsock winsock;
}  // namespace tarvelo::fake

namespace tarvelo::winsock {

namespace {
constexpr SOCKET kFakeHandle = 7;
}  // namespace

int WSAStartup(std::uint16_t versionRequested, WSADATA* data) {
    ++fake::winsock.startCalls;
    *data = WSADATA{};
    data->wVersion = versionRequested;
    data->iMaxSockets = fake::winsock.maxSockets;
    return fake::winsock.startResult;
}

SOCKET socket(int, int, int) {
    ++fake::winsock.socketCalls;
    return fake::winsock.socketFails ? INVALID_SOCKET : kFakeHandle;
}

int connect(SOCKET, const sockaddr* name, int) {
    ++fake::winsock.connectCalls;
    fake::winsock.connectedFamilies.push_back(name->sa_family);
    const auto* address = reinterpret_cast<const sockaddr_in*>(name);
    fake::winsock.connectedAddress = ntohl(address->sin_addr.s_addr);
    fake::winsock.connectedPort = ntohs(address->sin_port);
    // Still being made, as a non-blocking connect says; getpeername tells how it ended.
    errno = EINPROGRESS;
    return SOCKET_ERROR;
}

int send(SOCKET, const char*, int length, int) {
    ++fake::winsock.sendCalls;
    return length;
}

int recv(SOCKET, char*, int, int) {
    return 0;
}

int select(int, fd_set*, fd_set*, fd_set*, const timeval*) {
    return 1;
}

int closesocket(SOCKET) {
    ++fake::winsock.closeCalls;
    return 0;
}

int setsockopt(SOCKET, int, int, const char*, int) {
    return 0;
}

int ioctlsocket(SOCKET, long, unsigned long*) {
    return 0;
}

int getpeername(SOCKET, sockaddr*, int*) {
    return fake::winsock.connectFails ? SOCKET_ERROR : 0;
}

std::uint32_t inet_addr(const char* text) {
    return ::inet_addr(text);
}

hostent* gethostbyname(const char* name) {
    fake::winsock.lookedUp.emplace_back(name);
    if (fake::winsock.lookUpFails) {
        return nullptr;
    }
    static std::uint32_t address;
    static char* addresses[] = {reinterpret_cast<char*>(&address), nullptr};
    static hostent entry{};
    address = htonl(fake::kLookedUpAddress);
    entry.h_addrtype = AF_INET;
    entry.h_length = sizeof address;
    entry.h_addr_list = addresses;
    return &entry;
}

int getaddrinfo(const char* node, const char*, const addrinfo*, addrinfo** result) {
    fake::winsock.lookedUp.emplace_back(node);
    if (fake::winsock.lookUpFails) {
        return EAI_NONAME;
    }
    static sockaddr_in address{};
    static addrinfo entry{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(fake::kLookedUpAddress);
    entry.ai_family = AF_INET;
    entry.ai_addr = reinterpret_cast<sockaddr*>(&address);
    entry.ai_addrlen = sizeof address;
    static sockaddr_in6 address6{};
    static addrinfo first{};
    address6.sin6_family = AF_INET6;
    inet_pton(AF_INET6, "2001:db8::7", &address6.sin6_addr);
    first.ai_family = AF_INET6;
    first.ai_addr = reinterpret_cast<sockaddr*>(&address6);
    first.ai_addrlen = sizeof address6;
    first.ai_next = &entry;
    *result = fake::winsock.ipv6RefusedFirst ? &first : &entry;
    return 0;
}

void freeaddrinfo(addrinfo*) {}

int getsockopt(SOCKET, int, int, char* value, int*) {
    const bool refused = fake::winsock.ipv6RefusedFirst && fake::winsock.connectCalls == 1;
    *reinterpret_cast<int*>(value) = refused ? ECONNREFUSED : 0;
    return 0;
}

}  // namespace tarvelo::winsock
