#include "platform/NameLookup.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

namespace tarvelo {

// Shared by the caller and the look-up's thread: whichever lets go last frees it.
struct NameLookup::Answer {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    winsock::LookupError error = winsock::LookupError::None;
    std::vector<LookedUpAddress> addresses;
};

NameLookup::NameLookup(const std::string& host) : answer_(std::make_shared<Answer>()) {
    std::thread([answer = answer_, host] {
        winsock::addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        winsock::addrinfo* list = nullptr;
        const winsock::LookupError error =
            winsock::ToLookupError(winsock::getaddrinfo(host.c_str(), nullptr, &hints, &list));
        std::vector<LookedUpAddress> addresses;
        if (error == winsock::LookupError::None) {
            for (const winsock::addrinfo* entry = list; entry != nullptr; entry = entry->ai_next) {
                LookedUpAddress& address = addresses.emplace_back();
                address.length = static_cast<int>(
                    std::min(sizeof address.address, static_cast<std::size_t>(entry->ai_addrlen)));
                std::memcpy(&address.address, entry->ai_addr,
                            static_cast<std::size_t>(address.length));
            }
            winsock::freeaddrinfo(list);
        }
        const std::lock_guard<std::mutex> lock(answer->mutex);
        answer->error = error;
        answer->addresses = std::move(addresses);
        answer->finished = true;
        answer->done.notify_all();
    }).detach();
}

NameLookup::~NameLookup() = default;

bool NameLookup::Wait(std::chrono::milliseconds wait) {
    std::unique_lock<std::mutex> lock(answer_->mutex);
    return answer_->done.wait_for(lock, wait, [this] { return answer_->finished; });
}

winsock::LookupError NameLookup::Error() const {
    const std::lock_guard<std::mutex> lock(answer_->mutex);
    return answer_->error;
}

std::vector<LookedUpAddress> NameLookup::Addresses() const {
    const std::lock_guard<std::mutex> lock(answer_->mutex);
    return answer_->addresses;
}

}  // namespace tarvelo
