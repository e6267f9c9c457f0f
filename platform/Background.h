// Work that may wait on the outside world for as long as it likes, done on a thread of its own
// so that its caller waits only as long as it chooses. Work given up on goes on alone, and its
// result is dropped when it ends.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

namespace tarvelo {

template <typename T>
class Background {
public:
    explicit Background(std::function<T()> work) : shared_(std::make_shared<Shared>()) {
        std::thread([shared = shared_, work = std::move(work)] {
            T result = work();
            const std::lock_guard<std::mutex> lock(shared->mutex);
            shared->result.emplace(std::move(result));
            shared->done.notify_all();
        }).detach();
    }

    // Waits at most wait; the result once it is there (once only), else nullopt.
    std::optional<T> Take(std::chrono::milliseconds wait) {
        std::unique_lock<std::mutex> lock(shared_->mutex);
        if (!shared_->done.wait_for(lock, wait, [this] { return shared_->result.has_value(); })) {
            return std::nullopt;
        }
        std::optional<T> result(std::move(shared_->result));
        shared_->result.reset();
        return result;
    }

private:
    struct Shared {
        std::mutex mutex;
        std::condition_variable done;
        std::optional<T> result;
    };
    std::shared_ptr<Shared> shared_;
};

}  // namespace tarvelo
