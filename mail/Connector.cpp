#include "mail/Connector.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "base/TimeLeft.h"

namespace tarvelo {

using namespace winsock;
using std::chrono::milliseconds;

namespace {

ConnectFailure FromSocketError(SocketError error) {
    switch (error) {
        case SocketError::Refused:
            return ConnectFailure::Refused;
        case SocketError::Unreachable:
            return ConnectFailure::Unreachable;
        case SocketError::TimedOut:
            return ConnectFailure::TimedOut;
        case SocketError::None:
        case SocketError::WouldBlock:
        case SocketError::InProgress:
        case SocketError::Other:
            break;
    }
    return ConnectFailure::Other;
}

ConnectFailure FromLookupError(LookupError error) {
    switch (error) {
        case LookupError::NotFound:
            return ConnectFailure::NameNotFound;
        case LookupError::Temporary:
            return ConnectFailure::ResolverTemporary;
        case LookupError::None:
        case LookupError::Other:
            break;
    }
    return ConnectFailure::Other;
}

// RFC 8305 4: the families in turn, beginning with the resolver's first choice, each in the
// resolver's order.
std::vector<LookedUpAddress> Interleaved(const std::vector<LookedUpAddress>& addresses) {
    if (addresses.empty()) {
        return {};
    }
    const int first = addresses.front().address.ss_family;
    std::vector<LookedUpAddress> mine;
    std::vector<LookedUpAddress> other;
    for (const LookedUpAddress& address : addresses) {
        (address.address.ss_family == first ? mine : other).push_back(address);
    }
    std::vector<LookedUpAddress> result;
    for (std::size_t i = 0; i < std::max(mine.size(), other.size()); ++i) {
        if (i < mine.size()) {
            result.push_back(mine[i]);
        }
        if (i < other.size()) {
            result.push_back(other[i]);
        }
    }
    return result;
}

}  // namespace

Connector::Connector(const std::string& host, std::uint16_t port, milliseconds bound)
    : port_(port), deadline_(Clock::now() + bound), connected_(INVALID_SOCKET) {
    // A dotted address is used as it is and never looked up, as it always was.
    sockaddr_in dotted{};
    dotted.sin_family = AF_INET;
    dotted.sin_addr.s_addr = winsock::inet_addr(host.c_str());
    if (dotted.sin_addr.s_addr != INADDR_NONE) {
        LookedUpAddress& address = addresses_.emplace_back();
        std::memcpy(&address.address, &dotted, sizeof dotted);
        address.length = static_cast<int>(sizeof dotted);
        SetPorts();
    } else {
        lookup_ = std::make_unique<NameLookup>(host);
    }
}

Connector::Connector(std::vector<LookedUpAddress> addresses, std::uint16_t port, milliseconds bound)
    : port_(port),
      deadline_(Clock::now() + bound),
      addresses_(std::move(addresses)),
      connected_(INVALID_SOCKET) {
    SetPorts();
}

Connector::~Connector() {
    for (const SOCKET socket : trying_) {
        Close(socket);
    }
    Close(connected_);
}

SOCKET Connector::Take() {
    return std::exchange(connected_, INVALID_SOCKET);
}

void Connector::Close(SOCKET socket) {
    if (socket != INVALID_SOCKET) {
        winsock::closesocket(socket);
    }
}

std::optional<ConnectFailure> Connector::Finish(ConnectFailure failure) {
    for (const SOCKET socket : trying_) {
        Close(socket);
    }
    trying_.clear();
    result_ = failure;
    return result_;
}

std::optional<ConnectFailure> Connector::Step(milliseconds wait) {
    if (result_) {
        return result_;
    }
    const Clock::time_point waitUntil = std::min(Clock::now() + wait, deadline_);
    if (lookup_ && !AddressesReady(waitUntil)) {
        if (Clock::now() >= deadline_) {
            lookup_.reset();
            return Finish(ConnectFailure::LookupTimedOut);
        }
        return std::nullopt;
    }
    if (!result_ && trying_.empty() && next_ == 0 && !addresses_.empty()) {
        BeginNext(Clock::now());
    }
    while (!result_) {
        if (trying_.empty() && next_ == addresses_.size()) {
            return Finish(lastFailure_);
        }
        if (Watch(waitUntil)) {
            return Finish(ConnectFailure::None);
        }
        const Clock::time_point now = Clock::now();
        if (now >= deadline_) {
            return Finish(ConnectFailure::TimedOut);
        }
        // An attempt that failed, or one that has not answered in time, lets the next begin.
        if (next_ < addresses_.size() && (trying_.empty() || now >= nextAttempt_)) {
            BeginNext(now);
            continue;
        }
        if (now >= waitUntil) {
            break;
        }
    }
    return result_;
}

bool Connector::AddressesReady(Clock::time_point waitUntil) {
    if (!lookup_->Wait(TimeLeft(waitUntil))) {
        return false;
    }
    const LookupError error = lookup_->Error();
    addresses_ = Interleaved(lookup_->Addresses());
    lookup_.reset();
    SetPorts();
    if (error != LookupError::None || addresses_.empty()) {
        Finish(error == LookupError::None ? ConnectFailure::NameNotFound : FromLookupError(error));
    }
    return true;
}

void Connector::SetPorts() {
    for (LookedUpAddress& address : addresses_) {
        auto* generic = reinterpret_cast<sockaddr*>(&address.address);
        if (generic->sa_family == AF_INET6) {
            reinterpret_cast<sockaddr_in6*>(generic)->sin6_port = htons(port_);
        } else {
            reinterpret_cast<sockaddr_in*>(generic)->sin_port = htons(port_);
        }
    }
}

void Connector::BeginNext(Clock::time_point now) {
    nextAttempt_ = now + kAttemptDelay;
    const LookedUpAddress& address = addresses_[next_++];
    const SOCKET socket = winsock::socket(address.address.ss_family, SOCK_STREAM, 0);
    if (socket == INVALID_SOCKET) {
        lastFailure_ = ConnectFailure::Other;
        return;
    }
    // Each line goes out in a send of its own: with Nagle's algorithm the lines after the
    // first of the mail would wait for the server's delayed acknowledgement (some 40 ms).
    const int on = 1;
    winsock::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on),
                        static_cast<int>(sizeof on));
    unsigned long nonBlocking = 1;
    if (winsock::ioctlsocket(socket, FIONBIO, &nonBlocking) != 0) {
        Close(socket);
        lastFailure_ = ConnectFailure::Other;
        return;
    }
    if (winsock::connect(socket, reinterpret_cast<const sockaddr*>(&address.address),
                         address.length) == 0) {
        connected_ = socket;
        return;
    }
    const SocketError error = LastSocketError();
    if (error != SocketError::InProgress && error != SocketError::WouldBlock &&
        error != SocketError::Other) {
        Close(socket);
        lastFailure_ = FromSocketError(error);
        return;
    }
    trying_.push_back(socket);
}

bool Connector::Watch(Clock::time_point waitUntil) {
    if (connected_ != INVALID_SOCKET) {
        return true;
    }
    if (trying_.empty()) {
        return false;
    }
    Clock::time_point until = waitUntil;
    if (next_ < addresses_.size()) {
        until = std::min(until, nextAttempt_);
    }
    fd_set writable;
    FD_ZERO(&writable);
    SOCKET highest = 0;
    for (const SOCKET socket : trying_) {
        FD_SET(socket, &writable);
        highest = std::max(highest, socket);
    }
    fd_set failed = writable;
    // Not const: Windows' select takes a pointer to a changeable timeval.
    timeval limit = ToTimeval(TimeLeft(until));
    // A failed connection shows as writable on POSIX and in the exception set on Windows.
    if (winsock::select(static_cast<int>(highest) + 1, nullptr, &writable, &failed, &limit) <= 0) {
        return false;
    }
    std::vector<SOCKET> still;
    for (const SOCKET socket : trying_) {
        if (!FD_ISSET(socket, &writable) && !FD_ISSET(socket, &failed)) {
            still.push_back(socket);
            continue;
        }
        int code = 0;
        int codeLength = static_cast<int>(sizeof code);
        sockaddr_storage peer{};
        int peerLength = static_cast<int>(sizeof peer);
        // Writable with no error, yet a platform may still not have the peer: ask for it.
        if (connected_ == INVALID_SOCKET &&
            winsock::getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&code),
                                &codeLength) == 0 &&
            code == 0 &&
            winsock::getpeername(socket, reinterpret_cast<sockaddr*>(&peer), &peerLength) == 0) {
            connected_ = socket;
            continue;
        }
        lastFailure_ = code != 0 ? FromSocketError(ToSocketError(code)) : ConnectFailure::Other;
        Close(socket);
    }
    trying_ = std::move(still);
    return connected_ != INVALID_SOCKET;
}

}  // namespace tarvelo
