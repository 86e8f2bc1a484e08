#pragma once
// A bounded set of threads that run tasks in the order they were handed in. A thread starts only when a
// task finds none free and the limit is not reached; once started it stays and takes the next task, so a
// run that hands in a task per merged batch reuses a few threads instead of starting one per task.
// Tasks beyond the limit wait their turn, so a task must never wait for one handed in after it.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace orvel {

// What the end of the program does with a task still under way or waiting: one that writes is waited
// for; one that only reads (a scan, a count, a comparison, a keyring read, a question to another app) is
// left, since nothing would receive what it brings back and a slow desktop service must not hold the end.
enum class AtTheEnd { awaited, leftBehind };

class WorkerPool {
  public:
    // At most `limit` threads (at least one).
    explicit WorkerPool(int limit);
    // Lets the tasks under way and those waiting end, then the threads. A pool that must not keep its
    // owner waiting at the end of the program is never destroyed.
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // Runs `task` on a thread of the pool, after every task handed in before it has started. Any thread.
    void post(std::function<void()> task, AtTheEnd atTheEnd = AtTheEnd::awaited);
    // Waits until no task runs or waits, or `limit` has passed; true when none.
    bool waitIdle(std::chrono::milliseconds limit);
    // The same for the tasks handed in as awaited alone.
    bool waitAwaited(std::chrono::milliseconds limit);
    // From now on no task starts: those waiting are dropped, and so is every task handed in later. Tasks
    // under way go on. For the end of the program, after which nothing may run that was not running.
    void close();
    // How many threads were started so far.
    int threadsStarted();

  private:
    void serve();

    const int m_limit;
    std::mutex m_mutex;
    std::condition_variable m_work;
    std::condition_variable m_idle;
    struct Task {
        std::function<void()> run;
        AtTheEnd atTheEnd;
    };

    std::deque<Task> m_queue;
    std::vector<std::thread> m_threads;
    // Threads not running a task (started ones among them, before they first wait), and tasks under way.
    int m_free = 0;
    int m_running = 0;
    // Awaited tasks waiting or under way.
    int m_awaited = 0;
    bool m_ending = false;
    bool m_closed = false;
};

} // namespace orvel
