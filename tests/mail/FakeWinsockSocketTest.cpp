// Socket over the fake Winsock: the start of the library, the choice between address and
// look-up, the port text and the calls that must not be made.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "mail/FakeWinsock.h"
#include "mail/Socket.h"

namespace tarvelo {
namespace {

class FakeWinsockSocket : public testing::Test {
protected:
    void SetUp() override {
        fake::winsock = {};
        Socket::started = false;
    }
};

TEST_F(FakeWinsockSocket, StartsTheLibraryOnceAndAgainAfterAFailedStart) {
    fake::winsock.startResult = 10091;  // WSASYSNOTREADY
    {
        Socket socket(SOCK_STREAM);
        EXPECT_EQ(socket.handle, 0);
        EXPECT_EQ(socket.status, 0);
        EXPECT_FALSE(Socket::started);
        EXPECT_EQ(socket.Connect("127.0.0.1", "25"), -1);
        EXPECT_EQ(socket.status, -1);
    }
    EXPECT_EQ(fake::winsock.socketCalls, 0);
    EXPECT_EQ(fake::winsock.connectCalls, 0);
    EXPECT_EQ(fake::winsock.closeCalls, 0);

    fake::winsock.startResult = 0;
    { Socket second(SOCK_STREAM); }
    { Socket third(SOCK_STREAM); }
    EXPECT_EQ(fake::winsock.startCalls, 2);
    EXPECT_EQ(fake::winsock.socketCalls, 2);
    EXPECT_EQ(fake::winsock.closeCalls, 2);
}

TEST_F(FakeWinsockSocket, ALibraryWithoutSocketsCountsAsNotStarted) {
    fake::winsock.maxSockets = 0;
    Socket socket(SOCK_STREAM);
    EXPECT_FALSE(Socket::started);
    EXPECT_EQ(socket.handle, 0);
    EXPECT_EQ(fake::winsock.socketCalls, 0);
}

TEST_F(FakeWinsockSocket, WithoutASocketConnectFailsAndNothingIsClosed) {
    fake::winsock.socketFails = true;
    {
        Socket socket(SOCK_DGRAM);
        EXPECT_EQ(socket.handle, 0);
        EXPECT_EQ(socket.Connect("127.0.0.1", "25"), -1);
    }
    EXPECT_EQ(fake::winsock.connectCalls, 0);
    EXPECT_EQ(fake::winsock.closeCalls, 0);
}

struct ConnectCase {
    const char* name;
    const char* host;
    const char* port;
    bool lookedUp;
    std::uint32_t address;
    std::uint16_t port16;
};

void PrintTo(const ConnectCase& row, std::ostream* out) {
    *out << row.name;
}

class FakeWinsockConnect : public FakeWinsockSocket,
                           public testing::WithParamInterface<ConnectCase> {};

// The port as atoi reads it, cut to 16 bits as htons takes it.
constexpr ConnectCase kConnectCases[] = {
    {"DottedAddressIsNotLookedUp", "127.0.0.1", "25", false, 0x7F000001, 25},
    {"NameIsLookedUp", "mail.example", "25", true, fake::kLookedUpAddress, 25},
    {"AllOnesAddressIsLookedUp", "255.255.255.255", "25", true, fake::kLookedUpAddress, 25},
    {"PortWithoutDigitsIsZero", "127.0.0.1", "smtp", false, 0x7F000001, 0},
    {"EmptyPortIsZero", "127.0.0.1", "", false, 0x7F000001, 0},
    {"PortReadUpToTheFirstNonDigit", "127.0.0.1", " +587x", false, 0x7F000001, 587},
    {"PortCutToSixteenBits", "127.0.0.1", "65561", false, 0x7F000001, 25},
};

TEST_P(FakeWinsockConnect, ConnectsToTheAddressAndPort) {
    const ConnectCase& row = GetParam();
    Socket socket(SOCK_STREAM);
    EXPECT_EQ(socket.Connect(row.host, row.port), 0);
    EXPECT_EQ(socket.status, 0);
    EXPECT_EQ(fake::winsock.lookedUp.size(), row.lookedUp ? 1U : 0U);
    EXPECT_EQ(fake::winsock.connectedAddress, row.address);
    EXPECT_EQ(fake::winsock.connectedPort, row.port16);
}

INSTANTIATE_TEST_SUITE_P(Rows, FakeWinsockConnect, testing::ValuesIn(kConnectCases),
                         [](const testing::TestParamInfo<ConnectCase>& row) {
                             return std::string(row.param.name);
                         });

TEST_F(FakeWinsockSocket, AnUnknownNameFailsWithoutConnecting) {
    fake::winsock.lookUpFails = true;
    Socket socket(SOCK_STREAM);
    EXPECT_EQ(socket.Connect("no.such.host", "25"), -1);
    EXPECT_EQ(socket.status, -1);
    EXPECT_EQ(fake::winsock.connectCalls, 0);
}

TEST_F(FakeWinsockSocket, ARefusedConnectionFails) {
    fake::winsock.connectFails = true;
    Socket socket(SOCK_STREAM);
    EXPECT_EQ(socket.Connect("127.0.0.1", "25"), -1);
    EXPECT_EQ(socket.status, -1);
    EXPECT_EQ(fake::winsock.connectCalls, 1);
}

TEST_F(FakeWinsockSocket, EachAddressInTurnOnASocketOfItsFamily) {
    fake::winsock.ipv6RefusedFirst = true;
    Socket socket(SOCK_STREAM);
    EXPECT_EQ(socket.Connect("mail.example", "587"), 0);
    EXPECT_EQ(fake::winsock.connectedFamilies, (std::vector<int>{AF_INET6, AF_INET}));
    EXPECT_EQ(fake::winsock.connectedAddress, fake::kLookedUpAddress);
    EXPECT_EQ(socket.failure, ConnectFailure::None);
    // The constructor's IPv4 socket, one for the IPv6 address, a fresh one for the IPv4.
    EXPECT_EQ(fake::winsock.socketCalls, 3);

    fake::winsock.lookUpFails = true;
    EXPECT_EQ(socket.Connect("no.such.host", "25"), -1);
    EXPECT_EQ(socket.failure, ConnectFailure::NameNotFound);
}

#ifndef NDEBUG
TEST_F(FakeWinsockSocket, AnotherProtocolStopsTheProgram) {
    EXPECT_DEATH(Socket{3}, R"(\(protocol == SOCK_STREAM\) \|\| \(protocol == SOCK_DGRAM\))");
}
#endif

}  // namespace
}  // namespace tarvelo
