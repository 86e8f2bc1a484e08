#include "Orvel/state/Background.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <atomic>
#include <thread>
#include <utility>

namespace orvel {
namespace {

std::atomic<int> workersRunning{0};

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
    ++workersRunning;
    std::thread([guard = std::move(guard), work = std::move(work)]() mutable {
        std::function<void()> continuation = std::exchange(work, nullptr)();
        if (continuation)
            onMainThread(std::move(guard), std::move(continuation));
        --workersRunning;
    }).detach();
}

int backgroundWorkers() {
    return workersRunning.load();
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
