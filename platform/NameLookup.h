// A host name looked up on a thread of its own, so that neither a window nor a bound waits on
// the system resolver: a name server that never answers costs the caller nothing but the bound
// it chose. A look-up given up goes on alone and frees what it found when it ends.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "platform/Winsock.h"

namespace tarvelo {

struct LookedUpAddress {
    sockaddr_storage address{};
    int length = 0;
};

class NameLookup {
public:
    // Begins the look-up of host's stream addresses, IPv6 and IPv4, at once.
    explicit NameLookup(const std::string& host);
    ~NameLookup();
    NameLookup(const NameLookup&) = delete;
    NameLookup& operator=(const NameLookup&) = delete;

    // Waits at most wait for the answer; true once it is there.
    bool Wait(std::chrono::milliseconds wait);
    // Once Wait said true: None and the addresses in the resolver's order, or why not.
    winsock::LookupError Error() const;
    std::vector<LookedUpAddress> Addresses() const;

private:
    struct Answer;
    std::shared_ptr<Answer> answer_;
};

}  // namespace tarvelo
