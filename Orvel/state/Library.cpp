#include "Orvel/state/Library.h"

#include <QPointer>

#include <algorithm>
#include <exception>
#include <utility>

#include "Orvel/state/Background.h"
#include "Orvel/state/LanguageNames.h"
#include "Orvel/state/LoadedFiles.h"
#include "Orvel/state/ObservedField.h"
#include "core/Unicode.h"

namespace orvel {
namespace {

// How a link's language meets the spelling of a stored language: "pt_BR" finds "pt-BR".
std::string foldedLanguage(std::string code) {
    std::replace(code.begin(), code.end(), '_', '-');
    return text::lowercased(code);
}

} // namespace

Library::Library(Services services, QObject* parent) : QObject(parent), m_services(std::move(services)) {
    // Its workspaces and its measure read the same apps: one read of each serves them all.
    if (!m_services.loaded)
        m_services.loaded = std::make_shared<LoadedFiles>();
    onMainThread(this, [this] { refresh(); });
    // Any launch or quit may have brought or taken a translatable app.
    if (m_services.processes)
        m_launches = m_services.processes->subscribe([this] { onMainThread(this, [this] { refresh(); }); });
}

Library::~Library() {
    m_launches.reset();
    m_stop.request_stop();
}

void Library::quit() {
    m_stop.request_stop();
    for (const auto& [_, workspace] : m_workspaces)
        workspace->quit();
}

std::vector<Workspace::UnsavedProject> Library::unsavedProjects() const {
    std::vector<Workspace::UnsavedProject> projects;
    for (const auto& [_, workspace] : m_workspaces)
        for (Workspace::UnsavedProject& project : workspace->unsavedProjects())
            projects.push_back(std::move(project));
    return projects;
}

void Library::setApps(std::vector<TranslatableApp> apps) {
    if (replaceObserved(m_apps, std::move(apps)))
        emit appsChanged();
}

void Library::setSelection(std::optional<std::string> selection) {
    if (replaceObserved(m_selection, std::move(selection)))
        emit selectionChanged();
}

void Library::setPending(Pending pending) {
    if (replaceObserved(m_pending, std::move(pending)))
        emit pendingChanged();
}

void Library::setLink(std::optional<Link> link) {
    m_link = std::move(link);
}

void Library::refresh(std::function<void()> done) {
    startScan(std::move(done), false);
}

void Library::rescanForLink() {
    if (m_linkScanRunning) {
        m_linkScanWaiting = true;
        return;
    }
    m_linkScanRunning = true;
    startScan({}, true);
}

void Library::startScan(Done done, bool forLink) {
    const std::uint64_t number = ++m_scansStarted;
    EngineFacade& engine = m_services.engine;
    runInBackground(
        this,
        [this, &engine, number, forLink, done = std::move(done)]() mutable -> std::function<void()> {
            std::optional<std::vector<TranslatableApp>> apps;
            try {
                apps = engine.scanApps();
            } catch (const std::exception&) {
                // A scan that breaks down keeps the list as it was.
            }
            return [this, number, forLink, apps = std::move(apps), done = std::move(done)]() mutable {
                if (apps)
                    scanned(number, std::move(*apps), std::move(done));
                else if (done)
                    done();
                if (forLink) {
                    m_linkScanRunning = false;
                    if (std::exchange(m_linkScanWaiting, false))
                        rescanForLink();
                }
            };
        },
        AtTheEnd::leftBehind);
}

void Library::scanned(std::uint64_t refresh, std::vector<TranslatableApp> apps, Done done) {
    // Scans finish in any order: one that started before the list now shown would bring back an older
    // world, without the app installed meanwhile.
    if (refresh <= m_scanTaken) {
        if (done)
            done();
        return;
    }
    m_scanTaken = refresh;
    m_services.loaded->keepOnly(apps);
    setApps(std::move(apps));
    applyLink();
    reloadUpdatedWorkspaces();
    if (!m_selection && !m_apps.empty())
        setSelection(m_apps.front().bundleIdentifier);
    measurePending(std::move(done));
}

void Library::reloadUpdatedWorkspaces() {
    for (const TranslatableApp& app : m_apps) {
        const auto found = m_workspaces.find(app.bundleIdentifier);
        if (found == m_workspaces.end())
            continue;
        Workspace& workspace = *found->second;
        // An app moved elsewhere stays open where it was until it is opened again.
        if (!(workspace.app() == app) || workspace.app().version == app.version)
            continue;
        workspace.setApp(app);
        workspace.reloadStrings();
    }
}

Workspace& Library::workspace(const TranslatableApp& app) {
    const auto found = m_workspaces.find(app.bundleIdentifier);
    if (found != m_workspaces.end() && found->second->app() == app)
        return *found->second;
    Workspace::UnsavedCopies unsaved;
    if (found != m_workspaces.end()) {
        // The app was opened from another bundle. Both workspaces share one data folder, so the old one's
        // run stops and what it holds is written before the new one reads it; it writes nothing after.
        // What it could not write goes to the new one, which shows it and writes it at its next chance.
        Workspace* moved = found->second;
        m_countsAfterRuns.erase(moved);
        moved->quit();
        unsaved = moved->unsavedCopies();
        moved->deleteLater();
    }
    Services services = m_services;
    services.handover = &m_handover;
    auto* workspace = new Workspace(app, services, this, std::move(unsaved));
    m_workspaces.insert_or_assign(app.bundleIdentifier, workspace);
    // A run or Translate Changes has saved what it did by the time it ends: the sidebar's badge follows
    // once the comparison that the end starts right after this signal is in.
    connect(workspace, &Workspace::translatingChanged, this, [this, workspace] {
        if (workspace->translating())
            return;
        m_countsAfterRuns.insert(workspace);
        onMainThread(this, [this, workspace = QPointer<Workspace>(workspace)] {
            if (workspace)
                countAfterRun(workspace);
        });
    });
    connect(workspace, &Workspace::changesChanged, this, [this, workspace] { countAfterRun(workspace); });
    return *workspace;
}

void Library::countAfterRun(Workspace* workspace) {
    // A run started meanwhile ends with a count of its own.
    if (!m_countsAfterRuns.contains(workspace) || workspace->translating() || !workspace->changesCurrent())
        return;
    m_countsAfterRuns.erase(workspace);
    BackgroundUpdates::KnownCounts known;
    const std::optional<TranslationProject>& project = workspace->project();
    // What the disk refused is counted as the file holds it.
    if (project && !holdsUnsaved(workspace->app().bundleIdentifier, project->language)) {
        // As the measure counts a project that recorded no English and holds no translation: not at all.
        LoadedFiles::Count count;
        if (project->sourceText || !project->translations.empty())
            count = static_cast<int>(workspace->changes().toTranslate().size());
        known.emplace(TranslationProject::fileURL(workspace->app(), project->language), count);
    }
    measurePending(workspace->app(), std::move(known));
}

void Library::applyLink() {
    if (!m_link)
        return;
    const auto app = std::find_if(m_apps.begin(), m_apps.end(), [this](const TranslatableApp& candidate) {
        return candidate.bundleIdentifier == m_link->app;
    });
    if (app == m_apps.end())
        return;
    const Link link = *std::exchange(m_link, std::nullopt);
    setSelection(app->bundleIdentifier);
    Workspace& workspace = this->workspace(*app);
    workspace.setFilter(Workspace::Filter::all);
    if (!link.language)
        return;
    const std::optional<std::string> code = normalizedLanguage(*link.language);
    if (!code || workspace.language() == code)
        return;
    const std::vector<std::string>& stored = workspace.languages();
    const auto spelled = std::find_if(stored.begin(), stored.end(), [&](const std::string& language) {
        return foldedLanguage(language) == foldedLanguage(*code);
    });
    workspace.addLanguage(spelled != stored.end() ? *spelled : *code);
}

std::optional<std::string> Library::shownLanguage(const std::string& bundleIdentifier) const {
    const auto found = m_workspaces.find(bundleIdentifier);
    return found == m_workspaces.end() ? std::nullopt : found->second->language();
}

bool Library::holdsUnsaved(const std::string& bundleIdentifier, const std::string& language) const {
    const auto found = m_workspaces.find(bundleIdentifier);
    if (found == m_workspaces.end())
        return false;
    const std::vector<Workspace::UnsavedProject> unsaved = found->second->unsavedProjects();
    return std::any_of(unsaved.begin(), unsaved.end(), [&](const Workspace::UnsavedProject& project) {
        return project.language == language;
    });
}

} // namespace orvel
