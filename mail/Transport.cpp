#include "mail/Transport.h"

#include <climits>
#include <string>

namespace tarvelo {

TcpTransport::TcpTransport() : socket_(SOCK_STREAM) {}

ConnectFailure Transport::Connect(const std::string& host, int port,
                                  std::chrono::milliseconds timeout) {
    BeginConnect(host, port, timeout);
    std::optional<ConnectFailure> result;
    while (!(result = Connecting(timeout))) {
    }
    return *result;
}

void TcpTransport::BeginConnect(const std::string& host, int port,
                                std::chrono::milliseconds timeout) {
    // Without the library the socket layer could not look up or connect at all.
    connector_ = Socket::started
                     ? std::make_unique<Connector>(host, static_cast<std::uint16_t>(port), timeout)
                     : nullptr;
}

std::optional<ConnectFailure> TcpTransport::Connecting(std::chrono::milliseconds wait) {
    if (!connector_) {
        return ConnectFailure::Other;
    }
    const std::optional<ConnectFailure> result = connector_->Step(wait);
    if (result == ConnectFailure::None) {
        socket_.Adopt(connector_->Take());
    }
    if (result) {
        connector_.reset();
    }
    return result;
}

TransportSend TcpTransport::Send(std::string_view bytes) {
    const int length = static_cast<int>(std::min<std::size_t>(bytes.size(), INT_MAX));
    const int taken = socket_.SendSome(bytes.data(), length);
    if (taken < 0) {
        return {.failed = true};
    }
    return {.taken = static_cast<std::size_t>(taken)};
}

TransportRead TcpTransport::Receive(std::span<char> buffer) {
    const int size = static_cast<int>(std::min<std::size_t>(buffer.size(), INT_MAX));
    const int count = socket_.Receive(buffer.data(), size);
    if (count > 0) {
        return {TransportRead::Kind::Bytes, static_cast<std::size_t>(count)};
    }
    if (count == 0) {
        return {TransportRead::Kind::Closed};
    }
    return {winsock::LastSocketError() == winsock::SocketError::WouldBlock
                ? TransportRead::Kind::Nothing
                : TransportRead::Kind::Failed};
}

bool TcpTransport::Wait(bool forWriting, std::chrono::milliseconds wait) {
    return socket_.Wait(forWriting, wait) != 0;
}

bool TcpTransport::StartTls(const TlsRequest&) {
    failure_ = "this build of Tarvelo has no TLS";
    return false;
}

}  // namespace tarvelo
