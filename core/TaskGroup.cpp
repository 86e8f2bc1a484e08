#include "core/TaskGroup.h"

#include <algorithm>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "core/Cancellation.h"

namespace orvel::TaskGroup {
namespace {

class Group {
  public:
    Group(std::size_t count, const std::function<void(std::size_t, std::stop_token)>& task)
        : m_count(count), m_task(task) {}

    std::stop_source& source() { return m_source; }

    // Takes tasks until none is left or the group has stopped.
    void work() {
        while (auto index = take()) {
            try {
                m_task(*index, m_source.get_token());
            } catch (...) {
                fail(std::current_exception());
            }
        }
    }

    void finish() const {
        if (m_firstError)
            std::rethrow_exception(m_firstError);
        if (m_next < m_count)
            throw CancellationError();
    }

  private:
    std::optional<std::size_t> take() {
        std::lock_guard guard(m_lock);
        if (m_next == m_count || m_source.stop_requested())
            return std::nullopt;
        return m_next++;
    }

    void fail(std::exception_ptr error) {
        {
            std::lock_guard guard(m_lock);
            if (!m_firstError)
                m_firstError = std::move(error);
        }
        // Outside the lock: the stop callbacks of the other tasks run inside this call.
        m_source.request_stop();
    }

    const std::size_t m_count;
    const std::function<void(std::size_t, std::stop_token)>& m_task;
    std::stop_source m_source;
    std::mutex m_lock;
    std::size_t m_next = 0;
    std::exception_ptr m_firstError;
};

} // namespace

void run(std::size_t count, int limit, const std::function<void(std::size_t, std::stop_token)>& task,
         const std::stop_token& stop) {
    if (count == 0)
        return;
    Group group(count, task);
    const std::stop_callback forward(stop, [&group] { group.source().request_stop(); });
    const std::size_t workerCount = std::min(count, static_cast<std::size_t>(std::max(limit, 1)));
    {
        std::vector<std::jthread> workers;
        workers.reserve(workerCount);
        try {
            for (std::size_t i = 0; i < workerCount; ++i)
                workers.emplace_back([&group] { group.work(); });
        } catch (...) {
            // No thread to be had: the workers already started end early, and are joined before the
            // error leaves.
            group.source().request_stop();
            throw;
        }
    }
    group.finish();
}

} // namespace orvel::TaskGroup
