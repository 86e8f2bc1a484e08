#include "Orvel/state/Background.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <mutex>
#include <thread>

#include "Orvel/state/WorkerPool.h"
#include "core/FreedMemory.h"
#include "core/SystemLog.h"

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

// How long no result has come back, with no work that writes or loads running or waiting, before the
// background work counts as settled: long enough that the continuations of a load and the checks and comparisons they start have
// all come and gone.
constexpr std::chrono::milliseconds settledAfter(1500);

struct SettledWork {
    std::function<void()> work = FreedMemory::release;
    std::chrono::milliseconds after = settledAfter;
};

std::mutex settledWorkMutex;
SettledWork settledWork;

SettledWork currentSettledWork() {
    std::lock_guard lock(settledWorkMutex);
    return settledWork;
}

// Lives on the main thread for the rest of the process and runs the calls posted to it.
//
// The loads, comparisons and copies of background work free far more than the window keeps, and the
// allocator holds on to what they freed, spread among what stays; once the work has settled, its free
// pages are handed back, on a worker, as work that the end of the program does not wait for.
class MainThreadInbox : public QObject {
  public:
    MainThreadInbox() {
        m_settled.setSingleShot(true);
        connect(&m_settled, &QTimer::timeout, this, [this] { settle(); });
    }

  protected:
    bool event(QEvent* event) override {
        // Before anything of the event is read, its type included.
        receiveHandover(event);
        if (event->type() != HandoverEvent::kind())
            return QObject::event(event);
        static_cast<HandoverEvent*>(event)->deliver();
        m_settled.start(currentSettledWork().after);
        return true;
    }

  private:
    void settle() {
        SettledWork settled = currentSettledWork();
        // Work that brings nothing back (a write) ends without a call here, so the pool is asked again.
        // A read held by a slow desktop service (the keyring, another app) does not hold the release back.
        if (!workers().waitAwaited(std::chrono::milliseconds(0)))
            m_settled.start(settled.after);
        else if (settled.work)
            workers().post(std::move(settled.work), AtTheEnd::leftBehind);
    }

    QTimer m_settled;
};

// The way from the workers to the main thread. It opens on the main thread, where the application is
// known to exist, and closes before the application is destroyed: posting reaches into the application
// object, which must not be half destroyed meanwhile. Never destroyed, since a worker may still look at
// it while the program's statics are.
class MainThreadGate {
  public:
    static MainThreadGate& shared() {
        static MainThreadGate* const gate = new MainThreadGate;
        return *gate;
    }

    // On the main thread, once its application exists; a no-op once open or closed.
    void open() {
        std::lock_guard lock(m_mutex);
        openLocked();
    }

    // Posts `fn` unless the gate is closed; opens it first when it never was and this is the main thread.
    void post(QPointer<QObject> receiver, std::function<void()> fn) {
        std::lock_guard lock(m_mutex);
        if (m_state == State::unopened)
            openLocked();
        if (m_state != State::open)
            return;
        // The guard is tested only once the call runs on the main thread.
        auto* event = new HandoverEvent(std::move(receiver), std::move(fn));
        publishHandover(event);
        QCoreApplication::postEvent(m_inbox, event);
    }

    void close() {
        std::lock_guard lock(m_mutex);
        m_state = State::closed;
    }

  private:
    enum class State { unopened, open, closed };

    // The application is read only while the gate never opened: then nothing can have started to end it.
    void openLocked() {
        if (m_state != State::unopened)
            return;
        QCoreApplication* application = QCoreApplication::instance();
        if (!application || QThread::currentThread() != application->thread())
            return;
        m_inbox = new MainThreadInbox;
        m_state = State::open;
        // The last chance for a program that never calls finishProgram().
        qAddPostRoutine([] { shared().close(); });
    }

    std::mutex m_mutex;
    State m_state = State::unopened;
    MainThreadInbox* m_inbox = nullptr;
};

} // namespace

void onMainThread(QPointer<QObject> receiver, std::function<void()> fn) {
    if (fn)
        MainThreadGate::shared().post(std::move(receiver), std::move(fn));
}

void runInBackground(QObject* receiver, std::function<std::function<void()>()> work, AtTheEnd atTheEnd) {
    // Called on the main thread: its workers find the way back open.
    MainThreadGate::shared().open();
    workers().post(
        [guard = QPointer<QObject>(receiver), work = std::move(work)]() mutable {
            if (std::function<void()> continuation = work())
                onMainThread(std::move(guard), std::move(continuation));
        },
        atTheEnd);
}

void releaseFreedMemoryLater(QObject* receiver) {
    runInBackground(
        receiver,
        []() -> std::function<void()> {
            FreedMemory::release();
            return {};
        },
        AtTheEnd::leftBehind);
}

void runInPlace(QObject*, std::function<std::function<void()>()> work) {
    if (std::function<void()> continuation = work())
        continuation();
}

bool waitForBackgroundWork(std::chrono::milliseconds limit) {
    return workers().waitIdle(limit);
}

int finishProgram(int status, std::chrono::milliseconds limit) {
    const bool written = workers().waitAwaited(limit);
    // Continuations that would come now find no event loop to run them.
    MainThreadGate::shared().close();
    workers().close();
    if (workers().waitIdle(std::chrono::milliseconds(0)))
        return status;
    // Reads still under way are no news; a write cut short is.
    if (!written)
        SystemLog::info("Application",
                        "Background work still ran at the end; the program ends without waiting for it.");
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::_Exit(status);
}

void setSettledWork(std::function<void()> work, std::chrono::milliseconds after) {
    std::lock_guard lock(settledWorkMutex);
    settledWork = {std::move(work), after};
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
