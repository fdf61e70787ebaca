#pragma once
// Threads for blocking work, apart from the threads that serve HTTP: the
// replays of submissions, and the routes' store and page work. A slow job
// holds up only its own request, and a queue of bounded length turns a
// flood into quick refusals rather than a backlog.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace board {

class WorkPool {
  public:
    // `workers` threads; at most `waiting` jobs queued behind them.
    WorkPool(int workers, std::size_t waiting);
    // Runs the queued jobs, then joins.
    ~WorkPool();
    WorkPool(const WorkPool&) = delete;
    WorkPool& operator=(const WorkPool&) = delete;

    // False, and the job dropped, when every worker is busy and the queue
    // is full.
    bool try_submit(std::function<void()> job);

  private:
    void work();

    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<std::function<void()>> jobs_;
    std::size_t waiting_ = 0;
    std::size_t idle_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

} // namespace board
