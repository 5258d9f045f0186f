#include "server/connection_threads.h"

#include <chrono>

namespace tavon::server {
namespace {
// An idle thread ends after this; a busy server keeps its threads.
constexpr auto kThreadLinger = std::chrono::seconds(10);
}  // namespace

void ConnectionThreads::enqueue(std::function<void()> connection) {
    std::lock_guard lock(mutex_);
    join_finished();
    waiting_.push_back(std::move(connection));
    if (idle_ > 0 || threads_.size() >= max_threads_) {
        work_.notify_one();
        return;
    }
    std::thread thread(&ConnectionThreads::serve, this);
    const std::thread::id id = thread.get_id();
    threads_.emplace(id, std::move(thread));
}

void ConnectionThreads::serve() {
    std::unique_lock lock(mutex_);
    for (;;) {
        ++idle_;
        const bool has_work =
            work_.wait_for(lock, kThreadLinger, [&] { return !waiting_.empty() || stopping_; });
        --idle_;
        if (!has_work || waiting_.empty()) break;
        std::function<void()> connection = std::move(waiting_.front());
        waiting_.pop_front();
        lock.unlock();
        connection();
        lock.lock();
    }
    finished_.push_back(std::this_thread::get_id());
}

void ConnectionThreads::join_finished() {
    for (const std::thread::id id : finished_) {
        auto found = threads_.find(id);
        if (found == threads_.end()) continue;
        found->second.join();  // it has nothing left to do but return
        threads_.erase(found);
    }
    finished_.clear();
}

void ConnectionThreads::shutdown() {
    std::map<std::thread::id, std::thread> threads;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        work_.notify_all();
        threads.swap(threads_);
        finished_.clear();
    }
    for (auto& [id, thread] : threads) thread.join();
}

}  // namespace tavon::server
