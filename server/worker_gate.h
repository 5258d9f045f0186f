// At most N checks at once, the others waiting in the order they came. (A plain semaphore lets a
// late request overtake, so that under load one request could wait until it is refused while
// later ones are served.)
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <set>

namespace tavon::server {

class WorkerGate {
  public:
    explicit WorkerGate(unsigned workers) : free_(workers) {}

    // Waits in turn for a free worker, at most `patience`; false when none came in time.
    bool enter(std::chrono::steady_clock::duration patience) {
        std::unique_lock lock(mutex_);
        const std::uint64_t ticket = next_ticket_++;
        const bool turn =
            changed_.wait_for(lock, patience, [&] { return ticket == next_served_ && free_ > 0; });
        if (turn) {
            --free_;
            ++next_served_;
        } else {
            given_up_.insert(ticket);
        }
        while (given_up_.erase(next_served_) > 0) ++next_served_;
        changed_.notify_all();
        return turn;
    }

    void leave() {
        std::lock_guard lock(mutex_);
        ++free_;
        changed_.notify_all();
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    unsigned free_;
    std::uint64_t next_ticket_ = 0;
    std::uint64_t next_served_ = 0;     // the ticket whose turn it is
    std::set<std::uint64_t> given_up_;  // tickets that stopped waiting before their turn
};

}  // namespace tavon::server
