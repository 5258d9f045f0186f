// The threads that serve connections. The library's own pool has a fixed number of threads, each
// held by one connection until that connection ends, so a thousand idle connections would keep a
// real client waiting for minutes. Here each connection gets a thread of its own, up to a limit;
// threads that have had nothing to do for a while end. How many checks run at once is limited
// elsewhere (WorkerGate), so that an idle connection holds a thread, never a worker.
#pragma once

#include <httplib.h>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace tavon::server {

class ConnectionThreads final : public httplib::TaskQueue {
  public:
    explicit ConnectionThreads(std::size_t max_threads) : max_threads_(max_threads) {}
    ~ConnectionThreads() override { shutdown(); }

    void enqueue(std::function<void()> connection) override;
    // Serves every connection taken so far to its end, then returns.
    void shutdown() override;

  private:
    void serve();
    void join_finished();  // with mutex_ held

    std::mutex mutex_;
    std::condition_variable work_;
    std::deque<std::function<void()>> waiting_;
    std::map<std::thread::id, std::thread> threads_;
    std::vector<std::thread::id> finished_;
    std::size_t idle_ = 0;
    std::size_t max_threads_;
    bool stopping_ = false;
};

}  // namespace tavon::server
