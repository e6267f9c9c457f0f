// Connecting as RFC 8305 says, on loopback in the test's own network namespace: a black hole is
// a listener whose accept queue is full (its SYNs go unanswered), a refusal an address where
// nothing listens.
#include "mail/Connector.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tarvelo {
namespace {

using namespace std::chrono_literals;

constexpr std::uint16_t kPort = 2525;

sockaddr_in Loopback(const char* address) {
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_port = htons(kPort);
    ::inet_pton(AF_INET, address, &result.sin_addr);
    return result;
}

LookedUpAddress Entry(const char* address) {
    const sockaddr_in socketAddress = Loopback(address);
    LookedUpAddress entry;
    std::memcpy(&entry.address, &socketAddress, sizeof socketAddress);
    entry.length = static_cast<int>(sizeof socketAddress);
    return entry;
}

// 127.0.0.1 takes no more connections, 127.0.0.2 takes them, 127.0.0.3 refuses them.
class Listeners {
public:
    Listeners() {
        Listen("127.0.0.1", 0);
        for (int filler = 0; filler < 4; ++filler) {
            const sockaddr_in hole = Loopback("127.0.0.1");
            fds_.push_back(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0));
            ::connect(fds_.back(), reinterpret_cast<const sockaddr*>(&hole), sizeof hole);
        }
        Listen("127.0.0.2", 4);
    }
    ~Listeners() {
        for (const int fd : fds_) {
            ::close(fd);
        }
    }

private:
    void Listen(const char* address, int backlog) {
        const sockaddr_in where = Loopback(address);
        fds_.push_back(::socket(AF_INET, SOCK_STREAM, 0));
        const int on = 1;
        ::setsockopt(fds_.back(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        if (::bind(fds_.back(), reinterpret_cast<const sockaddr*>(&where), sizeof where) != 0 ||
            ::listen(fds_.back(), backlog) != 0) {
            ADD_FAILURE() << "cannot listen on " << address;
        }
    }
    std::vector<int> fds_;
};

struct Row {
    const char* name;
    std::vector<const char*> addresses;
    std::chrono::milliseconds bound;
    ConnectFailure result;
    const char* peer;  // the address connected to
    std::chrono::milliseconds atLeast;
    std::chrono::milliseconds atMost;
    friend void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }
};

class ConnectorTest : public ::testing::TestWithParam<Row> {};

TEST_P(ConnectorTest, TriesTheAddressesWithinTheBound) {
    const Row& row = GetParam();
    const Listeners listeners;
    std::vector<LookedUpAddress> addresses;
    for (const char* address : row.addresses) {
        addresses.push_back(Entry(address));
    }
    const auto start = std::chrono::steady_clock::now();
    Connector connector(addresses, kPort, row.bound);
    std::optional<ConnectFailure> result;
    while (!(result = connector.Step(5s))) {
    }
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(result, row.result);
    EXPECT_GE(took, row.atLeast);
    EXPECT_LT(took, row.atMost);
    if (row.peer != nullptr) {
        const int fd = connector.Take();
        sockaddr_in peer{};
        socklen_t length = sizeof peer;
        ASSERT_EQ(::getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &length), 0);
        char text[INET_ADDRSTRLEN] = {};
        ::inet_ntop(AF_INET, &peer.sin_addr, text, sizeof text);
        EXPECT_STREQ(text, row.peer);
        ::close(fd);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ConnectorTest,
    ::testing::Values(
        // The next address begins after 250 ms without an answer, and wins.
        Row{"BlackHoleFirst",
            {"127.0.0.1", "127.0.0.2"},
            30s,
            ConnectFailure::None,
            "127.0.0.2",
            250ms,
            1s},
        // A refusal lets the next begin at once.
        Row{"RefusedFirst",
            {"127.0.0.3", "127.0.0.2"},
            30s,
            ConnectFailure::None,
            "127.0.0.2",
            0ms,
            200ms},
        Row{"AllRefused", {"127.0.0.3"}, 30s, ConnectFailure::Refused, nullptr, 0ms, 200ms},
        // One bound for all of them, not one each.
        Row{"OnlyBlackHoles",
            {"127.0.0.1", "127.0.0.1", "127.0.0.1"},
            600ms,
            ConnectFailure::TimedOut,
            nullptr,
            600ms,
            1s},
        Row{"NoAddress", {}, 30s, ConnectFailure::Other, nullptr, 0ms, 200ms}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tarvelo
