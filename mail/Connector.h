// A connection to a server being made without anyone waiting on it, stepped by the caller: the
// window looks from its timer, tarvelo-send waits in the same steps until it is done.
//
// The name is looked up off the caller's thread (platform/NameLookup.h); its addresses are
// tried as RFC 8305 ("Happy Eyeballs") says: IPv6 and IPv4 taken in turn, the next one begun
// when the ones under way have not answered within kAttemptDelay or have failed, the first to
// connect kept. One bound covers look-up and connecting together, and the failure says which
// of the two ran out.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "mail/SendEnd.h"
#include "platform/NameLookup.h"
#include "platform/Winsock.h"

namespace tarvelo {

class Connector {
public:
    static constexpr std::chrono::milliseconds kAttemptDelay{250};

    // host: a dotted IPv4 address (used as it is, never looked up), or a name or an IPv6
    // address, looked up. The bound counts from now.
    Connector(const std::string& host, std::uint16_t port, std::chrono::milliseconds bound);
    // Addresses known already, tried in this order.
    Connector(std::vector<LookedUpAddress> addresses, std::uint16_t port,
              std::chrono::milliseconds bound);
    // Closes every socket still trying, and the connected one unless it was taken.
    ~Connector();
    Connector(const Connector&) = delete;
    Connector& operator=(const Connector&) = delete;

    // Goes on with the connection, waiting at most wait (0: only look). nullopt while it goes
    // on; None once connected; otherwise why not, and every later call says the same.
    std::optional<ConnectFailure> Step(std::chrono::milliseconds wait);

    // The connected socket, non-blocking, now the caller's.
    winsock::SOCKET Take();

private:
    using Clock = std::chrono::steady_clock;

    bool AddressesReady(Clock::time_point waitUntil);
    void SetPorts();
    void BeginNext(Clock::time_point now);
    void Close(winsock::SOCKET socket);
    // Looks at the attempts under way until one ends or waitUntil; true when one connected.
    bool Watch(Clock::time_point waitUntil);
    std::optional<ConnectFailure> Finish(ConnectFailure failure);

    std::uint16_t port_;
    Clock::time_point deadline_;
    std::unique_ptr<NameLookup> lookup_;  // until its answer is taken
    std::vector<LookedUpAddress> addresses_;
    std::size_t next_ = 0;  // the next address to try
    std::vector<winsock::SOCKET> trying_;
    Clock::time_point nextAttempt_;
    winsock::SOCKET connected_;  // INVALID_SOCKET until one connected
    ConnectFailure lastFailure_ = ConnectFailure::Other;
    std::optional<ConnectFailure> result_;
};

}  // namespace tarvelo
