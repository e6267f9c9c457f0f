// An SMTP server of the test's own on 127.0.0.1:25 (inside the test's network namespace),
// playing a script against one client and keeping every byte the client sent.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

namespace tarvelo::testing {

class ServerConnection {
public:
    explicit ServerConnection(int fd) : fd_(fd) {}

    // False once the client has gone.
    bool Send(const std::string& bytes) {
        std::size_t sent = 0;
        while (sent < bytes.size()) {
            const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) {
                return false;
            }
            sent += static_cast<std::size_t>(n);
        }
        return true;
    }

    // Each byte in a segment of its own, gap apart, until the client goes away.
    void SendByteByByte(const std::string& bytes, std::chrono::milliseconds gap) {
        const int on = 1;
        ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        for (const char byte : bytes) {
            if (!Send(std::string(1, byte))) {
                return;
            }
            std::this_thread::sleep_for(gap);
        }
    }

    // One line with its CR LF, or what came before the client closed or the wait ran out.
    std::string ReadLine(std::chrono::milliseconds wait = std::chrono::seconds(10)) {
        std::string line;
        char byte = 0;
        while (WaitReadable(wait) && ::recv(fd_, &byte, 1, 0) == 1) {
            line.push_back(byte);
            Record(byte);
            if (byte == '\n') {
                break;
            }
        }
        return line;
    }

    // The lines of the mail up to and including the end marker.
    std::string ReadData() {
        std::string data;
        while (true) {
            const std::string line = ReadLine();
            data += line;
            if (line.empty() || line == ".\r\n") {
                return data;
            }
        }
    }

    // Keeps the connection open and silent for a while (or until the client goes away).
    void Stall(std::chrono::milliseconds duration) {
        const auto end = std::chrono::steady_clock::now() + duration;
        char byte = 0;
        while (std::chrono::steady_clock::now() < end) {
            if (WaitReadable(std::chrono::milliseconds(20))) {
                if (::recv(fd_, &byte, 1, 0) <= 0) {
                    return;
                }
                Record(byte);
            }
        }
    }

    std::string Received() {
        std::lock_guard lock(mutex_);
        return received_;
    }

private:
    bool WaitReadable(std::chrono::milliseconds wait) {
        pollfd entry{fd_, POLLIN, 0};
        return ::poll(&entry, 1, static_cast<int>(wait.count())) == 1;
    }
    void Record(char byte) {
        std::lock_guard lock(mutex_);
        received_.push_back(byte);
    }

    int fd_;
    std::mutex mutex_;
    std::string received_;
};

class ScriptedServer {
public:
    using Script = std::function<void(ServerConnection&)>;

    explicit ScriptedServer(Script script, int port = 25) {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        const int on = 1;
        ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener_, 4) != 0) {
            ::close(listener_);
            throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(port));
        }
        thread_ = std::thread([this, script = std::move(script)] {
            pollfd entry{listener_, POLLIN, 0};
            if (::poll(&entry, 1, 10000) != 1) {
                return;
            }
            const int fd = ::accept(listener_, nullptr, nullptr);
            if (fd < 0) {
                return;
            }
            ServerConnection connection(fd);
            script(connection);
            received_ = connection.Received();
            // Wait for the client's close, so that nothing it sends later is lost unread.
            connection.Stall(std::chrono::milliseconds(stopRequested_ ? 0 : 200));
            received_ = connection.Received();
            ::close(fd);
            done_ = true;
        });
    }
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;
    ~ScriptedServer() {
        stopRequested_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
        ::close(listener_);
    }

    // Everything the client sent; waits for the script to finish first.
    std::string Received() {
        if (thread_.joinable()) {
            thread_.join();
        }
        return received_;
    }

private:
    int listener_ = -1;
    std::thread thread_;
    std::string received_;
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> done_{false};
};

// Socket buffers of 4 KiB in the test's namespace, so that a mail outgrows them many times.
inline void ShrinkSocketBuffers() {
    for (const char* name : {"/proc/sys/net/ipv4/tcp_wmem", "/proc/sys/net/ipv4/tcp_rmem"}) {
        std::ofstream(name) << "4096 4096 4096\n";
    }
}

// A server that answers up to "354" to the classic conversation and then reads nothing more
// for quiet.
inline std::function<void(ServerConnection&)> StopsReadingAfterData(
    std::chrono::milliseconds quiet) {
    return [quiet](ServerConnection& c) {
        c.Send("220 hi\r\n");
        for (const char* reply :
             {"250 a\r\n", "250 b\r\n", "250 c\r\n", "250 d\r\n", "354 go\r\n"}) {
            c.ReadLine();
            c.Send(reply);
        }
        std::this_thread::sleep_for(quiet);
    };
}

}  // namespace tarvelo::testing
