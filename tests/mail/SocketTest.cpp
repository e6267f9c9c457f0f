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
        ASSERT_EQ(socket.Wait(false, 5s), Socket::kReadable) << host;
        char buffer[64];
        ASSERT_EQ(socket.Receive(buffer, sizeof buffer), 11) << host;
        EXPECT_EQ(std::string_view(buffer, 11), "220 ready\r\n") << host;
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

TEST_F(SocketTest, WaitSaysWhetherThereIsSomethingToRead) {
    ScriptedServer server({{300ms, "220 ready\r\n"}}, ScriptedServer::Then::Hold);
    Socket socket(SOCK_STREAM);
    ASSERT_EQ(socket.Connect("127.0.0.1", server.Port()), 0);
    socket.status = 42;
    EXPECT_EQ(socket.Wait(false, 0ms), 0);
    EXPECT_EQ(socket.Wait(false, 5s), Socket::kReadable);
    EXPECT_EQ(socket.status, 42);
}

TEST_F(SocketTest, SendingToAPeerThatHasGoneFailsWithoutASignal) {
    ScriptedServer server({}, ScriptedServer::Then::Close);
    Socket socket(SOCK_STREAM);
    ASSERT_EQ(socket.Connect("127.0.0.1", server.Port()), 0);
    char buffer[16];
    // Readable, and a read of 0 bytes, once the server has closed.
    ASSERT_EQ(socket.Wait(false, 5s), Socket::kReadable);
    EXPECT_EQ(socket.Receive(buffer, sizeof buffer), 0);
    const std::string line(1000, 'x');
    // The first sends may still be taken; the reset that answers them ends the connection.
    for (int attempt = 0; attempt < 50 && socket.status >= 0; ++attempt) {
        socket.SendSome(line.data(), static_cast<int>(line.size()));
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_EQ(socket.status, -1);
}

}  // namespace
}  // namespace tarvelo
