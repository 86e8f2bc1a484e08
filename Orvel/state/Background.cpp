#include "Orvel/state/Background.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace orvel {
namespace {

// The workers still running. Never destroyed: the last worker may end after the program's statics.
struct Workers {
    std::mutex mutex;
    std::condition_variable ended;
    int running = 0;
};

Workers& workers() {
    static Workers* instance = new Workers;
    return *instance;
}

} // namespace

void onMainThread(QPointer<QObject> receiver, std::function<void()> fn) {
    QCoreApplication* application = QCoreApplication::instance();
    if (!application || !fn)
        return;
    // Posted to the application object, which outlives every state object; the guard is tested only
    // once the call runs on the main thread.
    QMetaObject::invokeMethod(
        application,
        [receiver = std::move(receiver), fn = std::move(fn)] {
            if (receiver)
                fn();
        },
        Qt::QueuedConnection);
}

void runInBackground(QObject* receiver, std::function<std::function<void()>()> work) {
    QPointer<QObject> guard(receiver);
    Workers& all = workers();
    {
        std::lock_guard lock(all.mutex);
        ++all.running;
    }
    std::thread([&all, guard = std::move(guard), work = std::move(work)]() mutable {
        std::function<void()> continuation = work();
        if (continuation)
            onMainThread(std::move(guard), std::move(continuation));
        // What the worker owns goes before it counts as ended.
        continuation = nullptr;
        work = nullptr;
        guard.clear();
        std::lock_guard lock(all.mutex);
        --all.running;
        all.ended.notify_all();
    }).detach();
}

bool waitForBackgroundWork(std::chrono::milliseconds limit) {
    Workers& all = workers();
    std::unique_lock lock(all.mutex);
    return all.ended.wait_for(lock, limit, [&] { return all.running == 0; });
}

TaskSlot::Ticket TaskSlot::start() {
    m_stop.request_stop();
    m_stop = std::stop_source();
    ++m_generation;
    m_running = true;
    return {m_stop.get_token(), m_generation};
}

void TaskSlot::cancel() {
    m_stop.request_stop();
    ++m_generation;
    m_running = false;
}

void TaskSlot::finish(std::uint64_t generation) {
    if (generation == m_generation)
        m_running = false;
}

} // namespace orvel
