#include "Orvel/state/ProjectWriter.h"

#include <time.h>

#include <algorithm>
#include <exception>
#include <future>
#include <stdexcept>
#include <string_view>
#include <system_error>
#include <utility>

#include "Orvel/state/Background.h"
#include "core/FileCalls.h"
#include "core/FreedMemory.h"
#include "core/PathComponent.h"

namespace orvel {
namespace {

// Who the language record names as the translator of an overlay.
constexpr std::string_view translatorName = "Orvel";

std::chrono::nanoseconds threadProcessorTime() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

} // namespace

ProjectWriter::ProjectWriter(QObject* receiver, TranslatableApp app, Runner runner, BusyClock busy)
    : m_receiver(receiver), m_app(std::move(app)), m_runner(std::move(runner)), m_busy(std::move(busy)) {
    if (!m_runner)
        m_runner = [](QObject* target, std::function<std::function<void()>()> work) {
            runInBackground(target, std::move(work));
        };
    if (!m_busy)
        m_busy = threadProcessorTime;
    m_restTimer.setSingleShot(true);
    QObject::connect(&m_restTimer, &QTimer::timeout, [this] { startWaiting(); });
}

ProjectWriter::~ProjectWriter() {
    finish(false);
}

ProjectWriter::Made ProjectWriter::make(Write& write, const TranslatableApp& app) {
    const std::chrono::nanoseconds began = m_busy();
    Made made;
    // A run's end often finds that the write begun just before it took everything: the files hold the
    // state already, and writing them again would only make the end wait as long again.
    const bool filesHoldCopy = write.update && !write.update->whole && m_copyWritten &&
                               (!write.overlayStrings || write.overlayStrings == m_indexedStrings);
    const bool written = filesHoldCopy && write.update->changes == ProjectDelta{} && !write.update->style;
    // And a run's batches change a few tables at a time: only theirs are written again (with any that
    // another program changed meanwhile), not every table of a large app. The overlay shows the
    // translations alone, not the English recorded with them.
    std::optional<std::set<std::string>> changedTables;
    if (filesHoldCopy && write.overlayStrings && m_published) {
        changedTables.emplace();
        for (const auto& [id, _] : write.update->changes.translations)
            if (const std::string_view table = SourceString::splitId(id).first; isSafePathComponent(table))
                changedTables->emplace(table);
    }
    m_copyWritten = false;
    try {
        const std::shared_ptr<const TranslationProject> project =
            write.update ? bringUpToDate(*write.update) : write.project;
        if (write.update && write.update->written && !write.update->keep)
            write.update->written(project);
        if (!written)
            made.busy += saveBesideOverlay(*project, write.overlayStrings, app,
                                           changedTables ? &*changedTables : nullptr);
        m_copyWritten = write.update && write.update->keep && write.overlayStrings;
    } catch (const std::exception& error) {
        made.failure = error.what();
    }
    if (write.update && !write.update->keep)
        m_copy.reset();
    // Kept only while a run's writes follow, all for the same strings.
    if (!write.update || !write.update->keep) {
        m_sources.reset();
        m_indexedStrings.reset();
        m_published.reset();
    }
    made.busy += m_busy() - began;
    return made;
}

std::chrono::nanoseconds
ProjectWriter::saveBesideOverlay(const TranslationProject& project,
                                 const std::shared_ptr<const std::vector<SourceString>>& overlayStrings,
                                 const TranslatableApp& app, const std::set<std::string>* changedTables) {
    // Until this publish is through, the files the last one left are no longer vouched for.
    const std::optional<OverlayWriter::TableFiles> published = std::exchange(m_published, std::nullopt);
    if (!overlayStrings) {
        project.save(app);
        return {};
    }
    const OverlaySources& sources = sourcesFor(overlayStrings);
    // The overlay's tables are written on a thread of their own while the project file is, through the
    // same disk, so that a large project's write (the one a run's end waits for above all) takes about as
    // long as the longer of the two, not both. They replace the old tables only once the project file
    // holds what they show: the overlay never goes ahead of the project.
    std::chrono::nanoseconds busy{0};
    const auto stage = [&, &disk = FileCalls::current()] {
        const FileCalls::Substitute sameDisk(disk);
        const std::chrono::nanoseconds began = m_busy();
        auto staged = changedTables && published
                          ? std::make_unique<OverlayWriter::Staged>(project, sources, app, translatorName,
                                                                    *published, *changedTables)
                          : std::make_unique<OverlayWriter::Staged>(project, sources, app, translatorName);
        busy = m_busy() - began;
        return staged;
    };
    std::unique_ptr<OverlayWriter::Staged> staged;
    std::future<std::unique_ptr<OverlayWriter::Staged>> overlay;
    try {
        overlay = std::async(std::launch::async, stage);
    } catch (const std::system_error&) {
        // No thread to be had: one after the other.
        project.save(app);
        staged = stage();
    }
    if (!staged) {
        try {
            project.save(app);
        } catch (...) {
            // The staged tables are dropped unused once made, and the project file's failure is the one
            // told.
            overlay.wait();
            throw;
        }
        staged = overlay.get();
    }
    staged->commit();
    m_published = staged->files();
    return busy;
}

const OverlaySources&
ProjectWriter::sourcesFor(const std::shared_ptr<const std::vector<SourceString>>& strings) {
    if (!m_sources || strings != m_indexedStrings) {
        m_sources = std::make_shared<const OverlaySources>(*strings);
        m_indexedStrings = strings;
    }
    return *m_sources;
}

std::shared_ptr<const TranslationProject> ProjectWriter::bringUpToDate(Update& update) {
    if (update.whole) {
        m_copy = std::move(update.whole);
        return m_copy;
    }
    if (!m_copy || m_copy->language != update.language)
        throw std::logic_error("The project to write is not in memory any more.");
    // Whatever stops half way leaves a copy nobody can vouch for: the next update hands it over whole.
    std::shared_ptr<TranslationProject> copy = std::exchange(m_copy, nullptr);
    if (update.changes.recorded) {
        copy->sourceText = std::move(update.changes.recorded->sourceText);
        copy->appVersion = std::move(update.changes.recorded->appVersion);
        update.changes.recorded.reset();
    }
    update.changes.applyTo(*copy);
    if (update.style)
        copy->style = *update.style;
    m_copy = std::move(copy);
    return m_copy;
}

std::optional<ProjectWriter::Write> ProjectWriter::ready(Waiting& waiting) {
    std::optional<Write> made = waiting.make ? waiting.make() : std::move(waiting.write);
    if (made && !made->overlayStrings)
        made->overlayStrings = waiting.overlayStrings;
    // An update after a release decides itself whether the copy stays.
    if (made && made->update)
        m_releaseCopy = false;
    return made;
}

void ProjectWriter::write(Write write, Done done, Pace pace) {
    Waiting request{write.update ? write.update->language : write.project->language,
                    std::nullopt,
                    {},
                    write.overlayStrings,
                    {},
                    pace};
    request.write = std::move(write);
    if (done)
        request.dones.push_back(std::move(done));
    ask(std::move(request));
}

void ProjectWriter::writeLatest(const std::string& language, MakeWrite make, Done done, Pace pace) {
    Waiting request{language, std::nullopt, std::move(make), nullptr, {}, pace};
    if (done)
        request.dones.push_back(std::move(done));
    ask(std::move(request));
}

void ProjectWriter::ask(Waiting request) {
    if (m_closed)
        return;
    const auto same = std::find_if(m_waiting.begin(), m_waiting.end(), [&](const Waiting& waiting) {
        return waiting.language == request.language;
    });
    if (same != m_waiting.end()) {
        // The newer state holds everything the older one did; the overlay stays asked for once asked.
        same->write = std::move(request.write);
        same->make = std::move(request.make);
        if (request.overlayStrings)
            same->overlayStrings = std::move(request.overlayStrings);
        for (Done& done : request.dones)
            same->dones.push_back(std::move(done));
        if (request.pace == Pace::atOnce)
            same->pace = Pace::atOnce;
        startWaiting();
        return;
    }
    m_waiting.push_back(std::move(request));
    startWaiting();
}

void ProjectWriter::start(Waiting next) {
    std::optional<Write> write = ready(next);
    auto flight = std::make_shared<Flight>();
    flight->dones = std::move(next.dones);
    m_flight = flight;
    if (!write) {
        // Nothing left to write: told at once, as a write that went through.
        {
            std::lock_guard lock(flight->mutex);
            flight->done = true;
        }
        settle(flight, true);
        return;
    }
    ++m_writesMade;
    m_runner(m_receiver, [this, flight, write = std::move(*write), app = m_app]() mutable {
        Made made = make(write, app);
        write = {};
        {
            std::lock_guard lock(flight->mutex);
            flight->failure = std::move(made.failure);
            flight->busy = made.busy;
            flight->done = true;
        }
        flight->finished.notify_all();
        // The writer lives as long as its receiver, which guards this answer.
        return [this, flight] { settle(flight, true, true); };
    });
}

void ProjectWriter::settle(const std::shared_ptr<Flight>& flight, bool startNext, bool releaseMemory) {
    // A write of a large project allocates and frees far more than the workspace keeps; unless it goes
    // back to the system, a run's writes leave the process ever larger. Not beside a write that starts at
    // once (the end's, after the run's last): that one's answer releases what both freed, and a release
    // meanwhile only holds up its allocations.
    const auto release = [&] {
        if (releaseMemory && !m_flight)
            releaseFreedMemoryLater(m_receiver);
    };
    if (flight->settled) {
        release();
        return;
    }
    flight->settled = true;
    if (m_flight == flight)
        m_flight.reset();
    std::optional<std::string> failure;
    std::chrono::nanoseconds busy{0};
    {
        std::lock_guard lock(flight->mutex);
        failure = flight->failure;
        busy = flight->busy;
    }
    if (busy >= restFrom)
        m_restEnds = std::chrono::steady_clock::now() + busy;
    if (startNext)
        startWaiting();
    release();
    dropCopyWhenIdle();
    for (const Done& done : flight->dones)
        done(failure);
}

void ProjectWriter::startWaiting() {
    if (m_flight || m_waiting.empty())
        return;
    const auto now = std::chrono::steady_clock::now();
    if (m_waiting.front().pace == Pace::afterRest && now < m_restEnds) {
        m_restTimer.start(std::chrono::ceil<std::chrono::milliseconds>(m_restEnds - now));
        return;
    }
    m_restTimer.stop();
    Waiting next = std::move(m_waiting.front());
    m_waiting.erase(m_waiting.begin());
    start(std::move(next));
}

void ProjectWriter::waitFor(Flight& flight) {
    std::unique_lock lock(flight.mutex);
    flight.finished.wait(lock, [&] { return flight.done; });
}

void ProjectWriter::finish(bool tell) {
    while (!idle()) {
        if (std::shared_ptr<Flight> flight = m_flight) {
            waitFor(*flight);
            if (!tell)
                flight->dones.clear();
            settle(flight, false);
            continue;
        }
        Waiting next = std::move(m_waiting.front());
        m_waiting.erase(m_waiting.begin());
        std::optional<Write> write = ready(next);
        std::optional<std::string> failure;
        if (write) {
            ++m_writesMade;
            failure = make(*write, m_app).failure;
        }
        if (tell)
            for (const Done& done : next.dones)
                done(failure);
    }
    m_restTimer.stop();
    dropCopyWhenIdle();
}

void ProjectWriter::releaseCopy() {
    m_releaseCopy = true;
    dropCopyWhenIdle();
}

void ProjectWriter::dropCopyWhenIdle() {
    if (!m_releaseCopy || !idle())
        return;
    m_releaseCopy = false;
    if (!m_copy && !m_sources)
        return;
    // A large project's entries take the main thread long to free. Not a write: no file is touched.
    m_indexedStrings.reset();
    m_published.reset();
    runInBackground(m_receiver,
                    [copy = std::exchange(m_copy, nullptr),
                     sources = std::exchange(m_sources, nullptr)]() mutable -> std::function<void()> {
                        copy.reset();
                        sources.reset();
                        FreedMemory::release();
                        return {};
                    });
}

void ProjectWriter::afterWrites(std::function<void()> then) {
    if (idle()) {
        then();
        return;
    }
    Done done = [then = std::move(then)](const std::optional<std::string>&) { then(); };
    // Writes are made in the order they wait: the last one's answer comes after every other.
    if (m_waiting.empty()) {
        m_flight->dones.push_back(std::move(done));
        return;
    }
    for (Waiting& waiting : m_waiting)
        waiting.pace = Pace::atOnce;
    m_waiting.back().dones.push_back(std::move(done));
    startWaiting();
}

void ProjectWriter::drain() {
    finish(true);
}

void ProjectWriter::close() {
    drain();
    m_closed = true;
}

} // namespace orvel
