#include "Orvel/state/WorkerPool.h"

#include <algorithm>
#include <utility>

namespace orvel {

WorkerPool::WorkerPool(int limit) : m_limit(std::max(limit, 1)) {}

WorkerPool::~WorkerPool() {
    {
        std::lock_guard lock(m_mutex);
        m_ending = true;
    }
    m_work.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
}

void WorkerPool::post(std::function<void()> task, AtTheEnd atTheEnd) {
    std::unique_lock lock(m_mutex);
    if (m_closed) {
        lock.unlock();
        // What the task holds goes outside the lock: its end may hand in another task.
        task = nullptr;
        return;
    }
    m_queue.push_back({std::move(task), atTheEnd});
    if (atTheEnd == AtTheEnd::awaited)
        ++m_awaited;
    // A free thread that was woken but has not taken its task yet still counts as free, and so does one
    // started but not yet running: each waiting task needs a free thread of its own.
    if (static_cast<int>(m_queue.size()) > m_free && static_cast<int>(m_threads.size()) < m_limit) {
        ++m_free;
        m_threads.emplace_back([this] { serve(); });
    } else
        m_work.notify_one();
}

bool WorkerPool::waitIdle(std::chrono::milliseconds limit) {
    std::unique_lock lock(m_mutex);
    return m_idle.wait_for(lock, limit, [&] { return m_running == 0 && m_queue.empty(); });
}

bool WorkerPool::waitAwaited(std::chrono::milliseconds limit) {
    std::unique_lock lock(m_mutex);
    return m_idle.wait_for(lock, limit, [&] { return m_awaited == 0; });
}

void WorkerPool::close() {
    std::deque<Task> dropped;
    {
        std::lock_guard lock(m_mutex);
        m_closed = true;
        for (const Task& task : m_queue)
            if (task.atTheEnd == AtTheEnd::awaited)
                --m_awaited;
        dropped.swap(m_queue);
        m_idle.notify_all();
    }
    // A thread woken for a dropped task finds the queue empty and waits again.
}

int WorkerPool::threadsStarted() {
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_threads.size());
}

void WorkerPool::serve() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_work.wait(lock, [&] { return !m_queue.empty() || m_ending; });
        --m_free;
        if (m_queue.empty())
            return;
        Task task = std::move(m_queue.front());
        m_queue.pop_front();
        ++m_running;
        lock.unlock();
        task.run();
        // What the task holds goes before it counts as ended.
        task.run = nullptr;
        lock.lock();
        --m_running;
        ++m_free;
        if (task.atTheEnd == AtTheEnd::awaited)
            --m_awaited;
        if ((m_running == 0 && m_queue.empty()) || m_awaited == 0)
            m_idle.notify_all();
    }
}

} // namespace orvel
