#pragma once
// The writes of one workspace's projects: the project file and, beside it, the overlay with its language
// record, made one at a time off the main thread, in the order they were asked for. A write asked for while
// another is under way waits; of the writes waiting for the same project only the newest is made (each
// holds the whole project), so a run that merges faster than the disk takes it never falls behind and
// the file never goes back to an older state. A write that kept its core busy for long is followed by
// a rest as long, which the paced writes (a run's merged batches) wait for, so that however large the
// project and however fast a run merges, its writes take at most half a core; the person's writes, a
// drain and the end do not wait. A run's writes bring the writer's own copy of the project up to date
// with what changed since the last one (Update), so that no write copies the whole project while the
// run goes on. Main thread only, but for the writes themselves.

#include <QObject>
#include <QTimer>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/SourceString.h"
#include "engine/apps/OverlaySources.h"
#include "engine/apps/OverlayWriter.h"
#include "engine/apps/ProjectDelta.h"
#include "engine/apps/TranslatableApp.h"
#include "engine/apps/TranslationProject.h"

namespace orvel {

class ProjectWriter {
  public:
    // What brings the writer's own copy of a project up to the state to write.
    struct Update {
        std::string language;
        // The whole project, which becomes the writer's copy; none brings the copy it holds up to date.
        std::shared_ptr<TranslationProject> whole;
        ProjectDelta changes;
        std::optional<TranslationStyle> style;
        // More updates follow (a run goes on): the copy stays once written.
        bool keep = false;
        // Told, where the write is made, of the copy it writes as soon as that is up to date, for readers
        // that would otherwise copy the same state again. Only for a write that keeps no copy: the one
        // told of is never changed afterwards.
        std::function<void(std::shared_ptr<const TranslationProject>)> written = nullptr;
    };
    struct Write {
        // Shared with the main thread's other readers of the same state; never changed. Unused when
        // `update` is given.
        std::shared_ptr<const TranslationProject> project;
        // The app's strings the overlay is made for; none writes the project file alone.
        std::shared_ptr<const std::vector<SourceString>> overlayStrings;
        // Writes the writer's copy of the project, brought up to date with this.
        std::optional<Update> update = std::nullopt;
    };
    // Told on the main thread how the write that covered the request went: the file layer's message,
    // or none when it succeeded.
    using Done = std::function<void(const std::optional<std::string>& failure)>;
    // Runs `work` away from the main thread and the continuation it returns on it while `receiver`
    // lives; an empty runner is runInBackground. Tests pass one that runs both at once.
    using Runner = std::function<void(QObject* receiver, std::function<std::function<void()>()> work)>;

    // Makes a write on the main thread when it can start; none when there is nothing left to write.
    using MakeWrite = std::function<std::optional<Write>()>;
    // The processor time the calling thread has used so far, read on each thread a write uses; tests pass
    // their own.
    using BusyClock = std::function<std::chrono::nanoseconds()>;

    // Writes that kept a core busy for less than this are followed by no rest: it would only delay
    // the next.
    static constexpr std::chrono::milliseconds restFrom{20};
    // Whether a write waits for the rest after a long one.
    enum class Pace { atOnce, afterRest };

    // `receiver` is the main-thread object whose lifetime bounds the answers; an empty `busy` is the
    // thread's own processor clock.
    ProjectWriter(QObject* receiver, TranslatableApp app, Runner runner, BusyClock busy = {});
    // Waits for the write under way and makes those still waiting, telling nobody. A caller whose
    // writes are made by `make` calls finishQuietly() first, while it still holds what they copy.
    ~ProjectWriter();
    ProjectWriter(const ProjectWriter&) = delete;
    ProjectWriter& operator=(const ProjectWriter&) = delete;

    // The app whose data folder the next writes go to.
    void setApp(TranslatableApp app) { m_app = std::move(app); }

    // Ignored once closed.
    void write(Write write, Done done, Pace pace = Pace::atOnce);
    // The same for a state that keeps changing (a project a run merges into): the copy is made by `make`
    // when the write starts, so that what arrives while another write is under way is copied once, not
    // once per change. `make` runs on the main thread (or in drain()), while the caller lives.
    // A write that joins a waiting one of the same project makes it wait for a rest only if both do.
    void writeLatest(const std::string& language, MakeWrite make, Done done, Pace pace = Pace::atOnce);
    // Waits for the write under way, then makes every waiting one at once on the calling thread, each
    // told its outcome: afterwards everything asked for is on disk (or failed).
    void drain();
    // Told on the main thread once every write asked for so far is made (or failed), at once when none
    // is under way or waiting; what waits no longer waits for a rest. Each write's outcome goes to its
    // own Done: this only says when the disk holds them all.
    void afterWrites(std::function<void()> then);
    bool idle() const { return !m_flight && m_waiting.empty(); }
    // Whether a paced write waits for the last one's rest to end.
    bool resting() const { return m_restTimer.isActive(); }
    // What the destructor does: waits, and makes every waiting write, telling nobody.
    void finishQuietly() { finish(false); }
    // Drains, then takes no more writes: another writer (a workspace opened in its place) may now own
    // the files.
    void close();
    bool closed() const { return m_closed; }
    // The updates that kept the writer's copy current have ended: the copy is dropped, off the main
    // thread, once no write is under way or waiting.
    void releaseCopy();
    // How many writes were made, for tests: fewer than requested when waiting ones were joined.
    int writesMade() const { return m_writesMade; }

  private:
    struct Waiting {
        std::string language;
        // Made now, or by `make` when it starts.
        std::optional<Write> write;
        MakeWrite make;
        // The overlay stays asked for once any request covered asked for it.
        std::shared_ptr<const std::vector<SourceString>> overlayStrings;
        std::vector<Done> dones;
        Pace pace = Pace::atOnce;
    };
    // The write under way. Its worker fills the outcome; the main thread settles it once, by the
    // worker's answer or by drain(), whichever comes first.
    struct Flight {
        std::mutex mutex;
        std::condition_variable finished;
        bool done = false;
        std::optional<std::string> failure;
        // How long the write kept its thread busy.
        std::chrono::nanoseconds busy{0};
        std::vector<Done> dones;
        bool settled = false;
    };

    // How a write went, and how long it kept the threads that made it busy.
    struct Made {
        std::optional<std::string> failure;
        std::chrono::nanoseconds busy{0};
    };
    // Called where the write is made, which is the only place the writer's copy is touched.
    Made make(Write& write, const TranslatableApp& app);
    // Saves the project file and, when `overlayStrings` are given, the overlay for them, its tables written
    // beside the file on a thread of their own and put in place once the file is saved; the processor time
    // the tables took there. With `changedTables`, the overlay of the last write is brought up to date
    // with them.
    std::chrono::nanoseconds
    saveBesideOverlay(const TranslationProject& project,
                      const std::shared_ptr<const std::vector<SourceString>>& overlayStrings,
                      const TranslatableApp& app, const std::set<std::string>* changedTables);
    // The writer's copy brought up to date by `update`.
    std::shared_ptr<const TranslationProject> bringUpToDate(Update& update);
    // `strings` indexed for the overlay, once for a run's writes.
    const OverlaySources& sourcesFor(const std::shared_ptr<const std::vector<SourceString>>& strings);
    void dropCopyWhenIdle();
    // The write as it starts; none when `make` found nothing to write.
    std::optional<Write> ready(Waiting& waiting);
    void ask(Waiting request);
    void start(Waiting next);
    // Closes the flight and, unless `startNext` is false, starts the next waiting write; then tells. With
    // `releaseMemory`, what the write freed goes back to the system, unless a write is under way.
    void settle(const std::shared_ptr<Flight>& flight, bool startNext, bool releaseMemory = false);
    void waitFor(Flight& flight);
    void finish(bool tell);
    // Starts the first waiting write, unless one is under way or it is paced and a rest is.
    void startWaiting();

    QObject* m_receiver;
    TranslatableApp m_app;
    Runner m_runner;
    BusyClock m_busy;
    std::shared_ptr<Flight> m_flight;
    std::chrono::steady_clock::time_point m_restEnds;
    QTimer m_restTimer;
    // At most one per project language, in the order first asked for.
    std::vector<Waiting> m_waiting;
    // The last state written by an update, changed only where the writes are made (one at a time).
    std::shared_ptr<TranslationProject> m_copy;
    // The strings of the last overlay a run's write made, indexed; changed where the writes are made too.
    std::shared_ptr<const std::vector<SourceString>> m_indexedStrings;
    std::shared_ptr<const OverlaySources> m_sources;
    // The files hold the copy as it stands, the overlay for m_indexedStrings included.
    bool m_copyWritten = false;
    // The overlay's table files as a run's last write left them.
    std::optional<OverlayWriter::TableFiles> m_published;
    bool m_releaseCopy = false;
    int m_writesMade = 0;
    bool m_closed = false;
};

} // namespace orvel
