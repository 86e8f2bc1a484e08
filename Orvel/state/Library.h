#pragma once
// The application's list of translatable apps and the owner of one workspace per app opened. It reads
// the list when it starts and again whenever an application is launched or quits, keeps the sidebar's
// selection, opens deep links once their app is known, and counts and brings up to date, in the
// background, the projects that an app update left behind.
//
// Threading: every field is read and written on the main thread. The scan of the apps, the counting
// and the updates run on workers and hand their results back to the main thread.

#include <QObject>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "Orvel/state/BackgroundUpdates.h"
#include "Orvel/state/ProcessWatcher.h"
#include "Orvel/state/ProjectHandover.h"
#include "Orvel/state/Services.h"
#include "Orvel/state/Workspace.h"
#include "engine/apps/TranslatableApp.h"

namespace orvel {

class Library : public QObject {
    Q_OBJECT

  public:
    // A deep link waiting for its app: the bundle identifier and the language to open, if any.
    struct Link {
        std::string app;
        std::optional<std::string> language;
        bool operator==(const Link&) const = default;
    };
    // Bundle identifier to the strings its projects need translated again.
    using Pending = std::map<std::string, int>;

    // Starts the first scan of the apps and follows the launches and quits of the services' watcher. The
    // services' model preferences decide whether and how projects are updated in the background; without
    // them the library only counts. Main thread only.
    explicit Library(Services services, QObject* parent = nullptr);
    ~Library() override;

    // The application ends: the background pass and every workspace's run stop, so that nothing of
    // them still lands, and each workspace writes what it holds, once.
    void quit();
    // The projects of every workspace whose last write failed: after quit(), the edits the end could not
    // write.
    std::vector<Workspace::UnsavedProject> unsavedProjects() const;

    // Observed fields; a setter notifies only when the value differs (apps compare by bundle location).
    // In the order the discovery returns them.
    const std::vector<TranslatableApp>& apps() const { return m_apps; }
    // The bundle identifier of the app selected in the sidebar.
    const std::optional<std::string>& selection() const { return m_selection; }
    void setSelection(std::optional<std::string> selection);
    const Pending& pending() const { return m_pending; }

    // An update pass is under way.
    bool updating() const { return m_updating; }
    // The deep link not yet applied; a new one replaces it. Call applyLink() after setting one.
    const std::optional<Link>& link() const { return m_link; }
    void setLink(std::optional<Link> link);

    // Reads the app list again and brings up to date what depends on it; `done` runs on the main thread
    // once the counting and any update pass it started have ended (at once for a scan that a newer one
    // overtook).
    void refresh(std::function<void()> done = {});
    // The app's workspace, made on first use. A workspace of the same app at another bundle location
    // writes what it still holds and is replaced.
    Workspace& workspace(const TranslatableApp& app);
    // Applies the deep link when its app is in the list: selects the app, opens its workspace on all
    // strings and in the link's language. A link for an unknown app waits for a later scan.
    void applyLink();
    // Counts what each app's projects need translated, publishes it in pending(), then starts the update
    // pass; `done` runs when both have ended.
    void measurePending(std::function<void()> done = {});
    // Counts again what one app's projects need translated and publishes it for that app alone; no
    // update pass follows. A workspace's run or Translate Changes ends with it. The projects of `known`
    // are not read again (BackgroundUpdates::measure).
    void measurePending(const TranslatableApp& app, BackgroundUpdates::KnownCounts known = {});
    // A URL the application was asked to open. A link orvel://translate?app=…&language=… becomes link()
    // (replacing a waiting one) and is applied at once; when its app is not in the list, a rescan starts
    // that applies it. Any other URL is ignored.
    void handle(std::string_view url);

  signals:
    void appsChanged();
    void selectionChanged();
    void pendingChanged();

  private:
    using Items = std::vector<BackgroundUpdates::Item>;
    using Done = std::function<void()>;

    void setApps(std::vector<TranslatableApp> apps);
    void setPending(Pending pending);
    // The rescans of links that name an unknown app coalesce: one runs, and every link that arrives
    // meanwhile joins the one that waits to start after it, so a flood of links costs at most two scans.
    void rescanForLink();
    void startScan(Done done, bool forLink);
    void scanned(std::uint64_t refresh, std::vector<TranslatableApp> apps, Done done);
    void reloadUpdatedWorkspaces();
    std::optional<std::string> shownLanguage(const std::string& bundleIdentifier) const;
    // Whether the app's workspace holds edits of the project in `language` that it could not write yet.
    bool holdsUnsaved(const std::string& bundleIdentifier, const std::string& language) const;
    // Counts the workspace's app again once its run has ended and its changes hold for the project as
    // the run left it.
    void countAfterRun(Workspace* workspace);
    void runUpdates(const Items& items, Done done);
    void updateNext(std::shared_ptr<Items> queue, std::size_t next, Done done);
    void updatesEnded(Done done);

    Services m_services;

    // Observed.
    std::vector<TranslatableApp> m_apps;
    std::optional<std::string> m_selection;
    Pending m_pending;

    // Plain.
    // Bundle identifier to the workspace; the workspaces are children of the library.
    std::map<std::string, Workspace*> m_workspaces;
    bool m_updating = false;
    // The project the update pass is writing, which a workspace waits for before it reads it. The
    // workspaces (children of the library) end after it, and only use it while the library lives.
    ProjectHandover m_handover;
    // Attempt keys of the updates started in this process.
    std::set<std::string> m_attempted;
    std::optional<Link> m_link;
    // Scans and counts are numbered as they start; a result is taken only while no later one was taken,
    // so that a slow old scan never replaces a newer list.
    std::uint64_t m_scansStarted = 0;
    std::uint64_t m_scanTaken = 0;
    bool m_linkScanRunning = false;
    bool m_linkScanWaiting = false;
    std::uint64_t m_measuresStarted = 0;
    std::uint64_t m_measureTaken = 0;
    // By bundle identifier, the number of the last count of that app alone that was taken: a count of
    // all apps that started before it keeps that app's newer figure.
    std::map<std::string, std::uint64_t> m_appMeasureTaken;
    // The workspaces whose run has ended and whose app is not yet counted again.
    std::set<const Workspace*> m_countsAfterRuns;
    // Asks the workers still running to end when the library goes.
    std::stop_source m_stop;
    ProcessWatcher::Subscription m_launches;
};

} // namespace orvel
