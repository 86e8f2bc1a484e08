#include "Orvel/state/Background.h"

#include <QCoreApplication>
#include <QEvent>

#include <algorithm>
#include <thread>

#include "Orvel/state/WorkerPool.h"

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#endif

namespace orvel {
namespace {

// A call on its way to the main thread. It is filled before it is posted and read only after it has
// arrived, so the hand-over is the one of the event queue.
class HandoverEvent : public QEvent {
  public:
    static QEvent::Type kind() {
        static const auto registered = static_cast<QEvent::Type>(QEvent::registerEventType());
        return registered;
    }

    HandoverEvent(QPointer<QObject> receiver, std::function<void()> fn)
        : QEvent(kind()), m_receiver(std::move(receiver)), m_fn(std::move(fn)) {}

    void deliver() {
        if (m_receiver)
            m_fn();
    }

  private:
    QPointer<QObject> m_receiver;
    std::function<void()> m_fn;
};

// Qt guards its event queue with a mutex inside a library that ThreadSanitizer cannot see; these marks
// tell it that what the posting thread wrote into the event is published with it.
void publishHandover([[maybe_unused]] QEvent* event) {
#if defined(__SANITIZE_THREAD__)
    __tsan_release(event);
#endif
}

void receiveHandover([[maybe_unused]] QEvent* event) {
#if defined(__SANITIZE_THREAD__)
    __tsan_acquire(event);
#endif
}

// Lives on the main thread for the rest of the process and runs the calls posted to it.
class MainThreadInbox : public QObject {
  public:
    static MainThreadInbox* instance(QCoreApplication* application) {
        static MainThreadInbox* const inbox = [application] {
            auto* made = new MainThreadInbox;
            made->moveToThread(application->thread());
            return made;
        }();
        return inbox;
    }

  protected:
    bool event(QEvent* event) override {
        // Before anything of the event is read, its type included.
        receiveHandover(event);
        if (event->type() != HandoverEvent::kind())
            return QObject::event(event);
        static_cast<HandoverEvent*>(event)->deliver();
        return true;
    }
};

// Long tasks (a run, an update, a capture, a connection test, a background pass) hold a thread for as long
// as they last while short ones (a write, a comparison, a check) come and go around them; the limit
// leaves room for every long task the application can have at once and a few short ones besides.
int threadLimit() {
    return std::max(16, 2 * static_cast<int>(std::thread::hardware_concurrency()));
}

// Never destroyed: the end of the program waits for it only as long as waitForBackgroundWork() allows,
// and the last task may end after the program's statics.
WorkerPool& workers() {
    static WorkerPool* const pool = new WorkerPool(threadLimit());
    return *pool;
}

} // namespace

void onMainThread(QPointer<QObject> receiver, std::function<void()> fn) {
    QCoreApplication* application = QCoreApplication::instance();
    if (!application || !fn)
        return;
    // The guard is tested only once the call runs on the main thread.
    auto* event = new HandoverEvent(std::move(receiver), std::move(fn));
    publishHandover(event);
    QCoreApplication::postEvent(MainThreadInbox::instance(application), event);
}

void runInBackground(QObject* receiver, std::function<std::function<void()>()> work) {
    workers().post([guard = QPointer<QObject>(receiver), work = std::move(work)]() mutable {
        if (std::function<void()> continuation = work())
            onMainThread(std::move(guard), std::move(continuation));
    });
}

void runInPlace(QObject*, std::function<std::function<void()>()> work) {
    if (std::function<void()> continuation = work())
        continuation();
}

bool waitForBackgroundWork(std::chrono::milliseconds limit) {
    return workers().waitIdle(limit);
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
