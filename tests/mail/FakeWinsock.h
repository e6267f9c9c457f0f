// A stand-in for tarvelo_winsock that makes no system call: a test sets what the calls do and
// reads back what was called. Linking FakeWinsock.cpp keeps platform/Winsock.cpp out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarvelo::fake {

struct Winsock {
    // What the calls do.
    int startResult = 0;
    std::uint16_t maxSockets = 64;
    bool socketFails = false;
    bool lookUpFails = false;
    bool connectFails = false;
    // The look-up gives 2001:db8::7 before the IPv4 address, and the first connect is refused.
    bool ipv6RefusedFirst = false;

    // What was called, in host byte order where it is a number.
    int startCalls = 0;
    int socketCalls = 0;
    int connectCalls = 0;
    int sendCalls = 0;
    int closeCalls = 0;
    std::vector<std::string> lookedUp;
    std::uint32_t connectedAddress = 0;
    std::uint16_t connectedPort = 0;
    std::vector<int> connectedFamilies;
};

// Every test begins with `fake::winsock = {}`.
extern Winsock winsock;

// What getaddrinfo gives for any name while lookUpFails is false: 192.0.2.7.
inline constexpr std::uint32_t kLookedUpAddress = 0xC0000207;

}  // namespace tarvelo::fake
