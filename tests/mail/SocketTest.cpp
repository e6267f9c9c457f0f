// Socket against a scripted server on loopback, run in a network namespace of its own so that
// the server may take port 25.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "mail/Socket.h"

namespace tarvelo {
namespace {

using namespace std::chrono_literals;

// One send of the server, after a pause.
struct Piece {
    std::chrono::milliseconds pause;
    std::string bytes;
};

// Accepts one connection on 127.0.0.1, sends its pieces, then closes at once, keeps reading
// what the client sends until the client closes (at most holdFor), or reads nothing for holdFor.
class ScriptedServer {
public:
    enum class Then { Close, Hold, Ignore };

    ScriptedServer(std::vector<Piece> script, Then then, std::uint16_t port = 0,
                   std::chrono::milliseconds holdFor = 5s)
        : listener_(::socket(AF_INET, SOCK_STREAM, 0)) {
        const int yes = 1;
        ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener_, 1) != 0) {
            ADD_FAILURE() << "cannot listen on port " << port;
        }
        socklen_t length = sizeof address;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = std::to_string(ntohs(address.sin_port));
        thread_ = std::thread(
            [this, script = std::move(script), then, holdFor] { Serve(script, then, holdFor); });
    }

    ~ScriptedServer() {
        ::shutdown(listener_, SHUT_RDWR);  // ends an accept that no client came to
        if (thread_.joinable()) {
            thread_.join();
        }
        ::close(listener_);
    }

    const char* Port() const { return port_.c_str(); }

    // What the client sent; complete once the client has closed.
    std::string Received() {
        thread_.join();
        return received_;
    }

private:
    void Serve(const std::vector<Piece>& script, Then then, std::chrono::milliseconds holdFor) {
        const int peer = ::accept(listener_, nullptr, nullptr);
        if (peer < 0) {
            return;
        }
        for (const Piece& piece : script) {
            std::this_thread::sleep_for(piece.pause);
            ::send(peer, piece.bytes.data(), piece.bytes.size(), MSG_NOSIGNAL);
        }
        if (then == Then::Ignore) {
            std::this_thread::sleep_for(holdFor);
        }
        if (then == Then::Hold) {
            timeval limit{};
            limit.tv_sec = std::chrono::duration_cast<std::chrono::seconds>(holdFor).count();
            ::setsockopt(peer, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
            char chunk[256];
            for (ssize_t read; (read = ::recv(peer, chunk, sizeof chunk, 0)) > 0;) {
                received_.append(chunk, static_cast<std::size_t>(read));
            }
        }
        ::close(peer);
    }

    int listener_;
    std::string port_;
    std::string received_;
    std::thread thread_;
};

class SocketTest : public testing::Test {};

TEST_F(SocketTest, ConnectsToADottedAddressAndToAName) {
    for (const char* host : {"127.0.0.1", "localhost"}) {
        ScriptedServer server({{0ms, "220 ready\r\n"}}, ScriptedServer::Then::Close);
        Socket socket(SOCK_STREAM);
        // A root made by debootstrap or mmdebstrap has no /etc/hosts, and there localhost
        // does not resolve: say so rather than fail without a reason.
        ASSERT_EQ(socket.Connect(host, server.Port()), 0)
            << host << (std::string_view(host) == "localhost" ? " (is it in /etc/hosts?)" : "");
        char buffer[65];
        EXPECT_EQ(socket.ReceiveLine(buffer, 64), 11) << host;
        EXPECT_STREQ(buffer, "220 ready\r\n") << host;
    }
}

TEST_F(SocketTest, ConnectsToPort25) {
    ScriptedServer server({{0ms, "220 ready\r\n"}}, ScriptedServer::Then::Close, 25);
    Socket socket(SOCK_STREAM);
    EXPECT_EQ(socket.Connect("127.0.0.1", "25"), 0);
    // The lines of the mail leave as they are sent, not held back for an acknowledgement.
    int noDelay = 0;
    socklen_t length = sizeof noDelay;
    ASSERT_EQ(::getsockopt(socket.handle, IPPROTO_TCP, TCP_NODELAY, &noDelay, &length), 0);
    EXPECT_NE(noDelay, 0);
}

TEST_F(SocketTest, FailsWhereNoServerIs) {
    struct Row {
        const char* host;
        const char* port;
    };
    for (const Row row : {Row{"127.0.0.1", "smtp"}, Row{"no-such-host.invalid", "25"}}) {
        Socket socket(SOCK_STREAM);
        EXPECT_EQ(socket.Connect(row.host, row.port), -1) << row.host << ':' << row.port;
        EXPECT_EQ(socket.status, -1);
    }
}

TEST_F(SocketTest, GivesUpOnAServerThatNeverAnswers) {
    // With its one queue place taken, the listener drops further SYNs unanswered.
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 0), 0);
    socklen_t length = sizeof address;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    const std::string port = std::to_string(ntohs(address.sin_port));
    Socket first(SOCK_STREAM);
    ASSERT_EQ(first.Connect("127.0.0.1", port.c_str()), 0);

    Socket second(SOCK_STREAM);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(second.Connect("127.0.0.1", port.c_str(), 300ms), -1);
    EXPECT_EQ(second.failure, ConnectFailure::TimedOut);
    // The kernel alone would retry the SYN for about two minutes.
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    ::close(listener);
}

struct ReceiveCase {
    const char* name;
    std::vector<Piece> script;
    ScriptedServer::Then then;
    int size;
    std::string expected;
    std::int32_t status;  // after ReceiveLine
};

void PrintTo(const ReceiveCase& row, std::ostream* out) {
    *out << row.name;
}

class SocketReceive : public SocketTest, public testing::WithParamInterface<ReceiveCase> {};

const ReceiveCase kReceiveCases[] = {
    {"LineFeedOnlyInTheSecondPiece",
     {{0ms, "220 mail.exa"}, {100ms, "mple ESMTP\r\n"}},
     ScriptedServer::Then::Hold,
     1024,
     "220 mail.example ESMTP\r\n",
     12},
    {"ReadEndingInCarriageReturnGoesOn",
     {{0ms, "250 ok\r"}, {100ms, "\n"}},
     ScriptedServer::Then::Hold,
     1024,
     "250 ok\r\n",
     1},
    {"LineFeedInsideAReadDoesNotEndIt",
     {{0ms, "250-first\r\n250 sec"}, {100ms, "ond\r\n"}},
     ScriptedServer::Then::Hold,
     1024,
     "250-first\r\n250 second\r\n",
     5},
    {"ClosedConnectionEndsWithStatusZero",
     {{0ms, "220 no line end"}},
     ScriptedServer::Then::Close,
     1024,
     "220 no line end",
     0},
    {"ClosedConnectionBeforeAnyByte", {}, ScriptedServer::Then::Close, 1024, "", 0},
    {"FullBufferEnds",
     {{0ms, std::string(50, 'x')}},
     ScriptedServer::Then::Hold,
     10,
     std::string(10, 'x'),
     10},
};

TEST_P(SocketReceive, ReadsTheReply) {
    const ReceiveCase& row = GetParam();
    ScriptedServer server(row.script, row.then);
    Socket socket(SOCK_STREAM);
    ASSERT_EQ(socket.Connect("127.0.0.1", server.Port()), 0);
    // Heap memory of exactly size + 1 bytes, so that the sanitizer sees any overrun.
    std::vector<char> buffer(static_cast<std::size_t>(row.size) + 1, '#');
    const int total = socket.ReceiveLine(buffer.data(), row.size);
    EXPECT_EQ(total, static_cast<int>(row.expected.size()));
    EXPECT_EQ(std::string(buffer.data()), row.expected);
    EXPECT_EQ(socket.status, row.status);
}

INSTANTIATE_TEST_SUITE_P(Rows, SocketReceive, testing::ValuesIn(kReceiveCases),
                         [](const testing::TestParamInfo<ReceiveCase>& row) {
                             return std::string(row.param.name);
                         });

TEST_F(SocketTest, AReadThatStallsGivesUpWithMinusOne) {
    ScriptedServer server({{0ms, "22"}}, ScriptedServer::Then::Hold);
    Socket socket(SOCK_STREAM);
    ASSERT_EQ(socket.Connect("127.0.0.1", server.Port()), 0);
    char buffer[1025];
    // Without the time-out this would wait until the server closes, and end with status 0.
    EXPECT_EQ(socket.ReceiveLine(buffer, 1024, 200ms), 2);
    EXPECT_STREQ(buffer, "22");
    EXPECT_EQ(socket.status, -1);
}

TEST_F(SocketTest, SelectSaysWhetherThereIsSomethingToRead) {
    ScriptedServer server({{300ms, "220 ready\r\n"}}, ScriptedServer::Then::Hold);
    Socket socket(SOCK_STREAM);
    ASSERT_EQ(socket.Connect("127.0.0.1", server.Port()), 0);
    socket.status = 42;
    EXPECT_EQ(socket.Select(0), 0);
    EXPECT_EQ(socket.Select(5), 1);
    EXPECT_EQ(socket.status, 42);
}

TEST_F(SocketTest, SendsAllBytes) {
    ScriptedServer server({}, ScriptedServer::Then::Hold);
    std::string data = "HELO example.jp\r\n" + std::string(300000, 'a');
    {
        Socket socket(SOCK_STREAM);
        ASSERT_EQ(socket.Connect("127.0.0.1", server.Port()), 0);
        EXPECT_GT(socket.SendAll(data.data(), static_cast<int>(data.size())), 0);
    }
    EXPECT_EQ(server.Received(), data);
}

TEST_F(SocketTest, ABlockTheServerDoesNotReadGivesUpWithMinusOne) {
    ScriptedServer server({}, ScriptedServer::Then::Ignore, 0, 1s);
    Socket socket(SOCK_STREAM);
    ASSERT_EQ(socket.Connect("127.0.0.1", server.Port()), 0);
    // More than the buffers of both ends hold: without the bound this send would wait for ever.
    const std::string data(64 << 20, 'a');
    EXPECT_EQ(socket.SendAll(data.data(), static_cast<int>(data.size()), 300ms), -1);
    EXPECT_EQ(socket.status, -1);
}

TEST_F(SocketTest, SendingToAPeerThatHasGoneFailsWithoutASignal) {
    ScriptedServer server({}, ScriptedServer::Then::Close);
    Socket socket(SOCK_STREAM);
    ASSERT_EQ(socket.Connect("127.0.0.1", server.Port()), 0);
    char buffer[16];
    socket.ReceiveLine(buffer, 15);  // returns once the server has closed
    const std::string line(1000, 'x');
    // The first sends may still be taken; the reset that answers them ends the connection.
    for (int attempt = 0; attempt < 50 && socket.status >= 0; ++attempt) {
        socket.SendAll(line.data(), static_cast<int>(line.size()));
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_EQ(socket.status, -1);
}

}  // namespace
}  // namespace tarvelo
