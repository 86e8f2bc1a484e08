// The library's background updates: counting what app updates left to translate, and bringing those
// projects up to date one after the other.

#include <exception>
#include <memory>
#include <stop_token>
#include <utility>

#include "Orvel/state/Background.h"
#include "Orvel/state/Library.h"
#include "Orvel/state/LoadedFiles.h"
#include "Orvel/state/ModelPreferences.h"

namespace orvel {

void Library::measurePending(std::function<void()> done) {
    const std::uint64_t number = ++m_measuresStarted;
    EngineFacade& engine = m_services.engine;
    runInBackground(
        this,
        [this, &engine, number, apps = m_apps, files = m_services.loaded, stop = m_stop.get_token(),
         done = std::move(done)]() mutable -> std::function<void()> {
            std::optional<Items> items;
            try {
                items = BackgroundUpdates::measure(apps, engine, *files, stop);
            } catch (const std::exception&) {
                // The counts shown stay as they were.
            }
            return [this, number, items = std::move(items), done = std::move(done)]() mutable {
                // A count of an older list must not replace that of a newer one.
                if (!items || number <= m_measureTaken) {
                    if (done)
                        done();
                    return;
                }
                m_measureTaken = number;
                Pending pending = BackgroundUpdates::totals(*items);
                for (const auto& [app, taken] : m_appMeasureTaken) {
                    if (taken < number)
                        continue;
                    if (const auto newer = m_pending.find(app); newer != m_pending.end())
                        pending.insert_or_assign(app, newer->second);
                    else
                        pending.erase(app);
                }
                setPending(std::move(pending));
                runUpdates(*items, std::move(done));
            };
        },
        AtTheEnd::leftBehind);
}

void Library::measurePending(const TranslatableApp& app, BackgroundUpdates::KnownCounts known) {
    const std::uint64_t number = ++m_measuresStarted;
    EngineFacade& engine = m_services.engine;
    runInBackground(
        this,
        [this, &engine, number, app, known = std::move(known), files = m_services.loaded,
         stop = m_stop.get_token()]() -> std::function<void()> {
            std::optional<Items> items;
            try {
                items = BackgroundUpdates::measure({app}, engine, *files, stop, known);
            } catch (const std::exception&) {
                // The count shown stays as it was.
            }
            return [this, number, app, items = std::move(items)] {
                // A count of all apps that started later has this app's figure already.
                if (!items || number <= m_measureTaken)
                    return;
                std::uint64_t& taken = m_appMeasureTaken[app.bundleIdentifier];
                if (number <= taken)
                    return;
                taken = number;
                Pending pending = m_pending;
                const Pending counted = BackgroundUpdates::totals(*items);
                if (const auto found = counted.find(app.bundleIdentifier); found != counted.end())
                    pending.insert_or_assign(app.bundleIdentifier, found->second);
                else
                    pending.erase(app.bundleIdentifier);
                setPending(std::move(pending));
            };
        },
        AtTheEnd::leftBehind);
}

void Library::runUpdates(const Items& items, Done done) {
    const auto finish = [&done] {
        if (done)
            done();
    };
    if (!m_services.preferences || !m_services.preferences->autoUpdate() || m_updating)
        return finish();
    auto queue = std::make_shared<Items>(BackgroundUpdates::queue(
        items, [this](const std::string& app) { return shownLanguage(app); }, m_attempted));
    if (queue->empty())
        return finish();
    m_updating = true;
    m_services.preferences->loadKey(this, [this, queue, done = std::move(done)]() mutable {
        updateNext(std::move(queue), 0, std::move(done));
    });
}

void Library::updateNext(std::shared_ptr<Items> queue, std::size_t next, Done done) {
    if (next == queue->size())
        return updatesEnded(std::move(done));
    const BackgroundUpdates::Item& item = (*queue)[next];
    // The person may have opened that very project meanwhile: it is then the workspace's to update. A
    // workspace that still holds edits of it the disk refused writes them over the file later, which
    // would undo what the pass wrote; so it is the workspace's too.
    if (BackgroundUpdates::isShown(item, [this](const std::string& app) { return shownLanguage(app); }) ||
        holdsUnsaved(item.app.bundleIdentifier, item.language))
        return updateNext(std::move(queue), next + 1, std::move(done));
    const ModelPreferences& preferences = *m_services.preferences;
    const std::optional<AppleModels::Kind> kind = AppleModels::kind(preferences.endpoint());
    EngineFacade& engine = m_services.engine;
    // A workspace that comes to show the project stops this item alone; the library's end stops it too.
    std::stop_source itemStop;
    m_handover.begin(item.app.bundleIdentifier, item.language,
                     [itemStop]() mutable { itemStop.request_stop(); });
    runInBackground(this,
                    [this, &engine, item, kind, settings = preferences.settings(),
                     review = preferences.review(), pipeline = engine.pipeline(), stop = m_stop.get_token(),
                     itemStop, queue, next, done = std::move(done)]() mutable -> std::function<void()> {
                        const std::stop_callback libraryEnds(
                            stop, [itemStop]() mutable { itemStop.request_stop(); });
                        try {
                            // An Apple model that cannot serve the language is passed over without a word.
                            // The updater saves and publishes every result itself.
                            if (!kind || engine.modelSupports(item.language, *kind))
                                TranslationUpdater::updateProject(item.app, item.language, settings, review,
                                                                  {}, itemStop.get_token(), pipeline);
                        } catch (...) {
                            // Dropped without a report; its key stays attempted, so it is not tried again.
                        }
                        return [this, queue = std::move(queue), next, done = std::move(done)]() mutable {
                            // Written for the last time: a workspace waiting for the project reads it now.
                            m_handover.end();
                            updateNext(std::move(queue), next + 1, std::move(done));
                        };
                    });
}

void Library::updatesEnded(Done done) {
    m_updating = false;
    // What the pass translated shows in the counts; the attempted keys keep it from running again.
    measurePending(std::move(done));
}

} // namespace orvel
