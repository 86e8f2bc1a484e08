#pragma once
// How the application's state does work off the main thread. State lives on the main thread only; a
// worker computes and hands back a continuation that runs on the main thread while its receiver lives.
// Workers run on a bounded pool of threads and are forgotten when cancelled, so Stop never waits for one;
// only the end of the program waits, for a bounded time, for those that write to notice and end, and
// nothing a worker does after that reaches the application.

#include <QObject>
#include <QPointer>

#include <chrono>
#include <cstdint>
#include <functional>
#include <stop_token>

#include "Orvel/state/WorkerPool.h"

namespace orvel {

// Runs `fn` on the main thread, later, unless `receiver` is gone by then. Safe to call from any thread,
// provided the guard itself was made on the main thread (a QPointer is only ever tested there).
void onMainThread(QPointer<QObject> receiver, std::function<void()> fn);

// Runs `work` on a thread of the pool, after every work handed in before it has started; whatever
// continuation it returns runs on the main thread unless `receiver` (a main-thread object) is gone by
// then. `work` owns what it uses (copies or shared pointers) and catches its own errors, turning them into
// the continuation that reports them. Work may wait for work under way, never for work handed in after
// it: with every thread taken, that one would never start. Work that only reads is handed in as
// leftBehind, so that the end of the program does not wait for it.
void runInBackground(QObject* receiver, std::function<std::function<void()>()> work,
                     AtTheEnd atTheEnd = AtTheEnd::awaited);

// Hands the allocator's free pages back to the system on a worker, as work left behind at the end: after
// work that allocated and freed far more than the application keeps, without making its answer wait.
void releaseFreedMemoryLater(QObject* receiver);

// What runs on a worker once the background work has settled: no result has come back for `after` and
// no awaited work (see AtTheEnd) runs or waits. By default the allocator's free pages are handed back to the
// system 1.5 s after the last result. For tests; nothing, to run nothing.
void setSettledWork(std::function<void()> work, std::chrono::milliseconds after);

// Runs `work` and the continuation it returns at once, on the calling thread: for the pictures of the
// views, which need a workspace loaded when it is made.
void runInPlace(QObject* receiver, std::function<std::function<void()>()> work);

// Waits until every work of runInBackground has ended, those not started yet included, or `limit` has
// passed; true when none runs or waits.
bool waitForBackgroundWork(std::chrono::milliseconds limit);

// The end of a program that used the functions above, called once its state objects are gone (which
// stops their workers) and before its application object is destroyed. Waits up to `limit` for the
// awaited work under way and waiting, the writes; then no work starts any more and no call reaches the
// main thread. Returns `status` for main() to return when no work runs by then. Otherwise a worker would
// run on while the application and the program's static objects are destroyed: the process ends at once
// with `status`, its output flushed, and a file being replaced keeps its old content.
int finishProgram(int status, std::chrono::milliseconds limit);

// One kind of restartable task of a state object: starting a new one stops the previous one, and a
// result is taken only while its generation is still the current one.
class TaskSlot {
  public:
    struct Ticket {
        std::stop_token token;
        std::uint64_t generation = 0;
    };

    // Stops the running task (if any) and opens a new generation.
    Ticket start();
    // Stops the running task; its result, should it still arrive, is stale.
    void cancel();
    bool isCurrent(std::uint64_t generation) const { return generation == m_generation && m_running; }
    // Marks the current task finished; a no-op for a stale generation.
    void finish(std::uint64_t generation);
    bool isRunning() const { return m_running; }

  private:
    std::stop_source m_stop;
    std::uint64_t m_generation = 0;
    bool m_running = false;
};

} // namespace orvel
