// Loading a workspace: its strings, its languages, the language it opens in, and the changes an app
// update made.

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <future>
#include <system_error>

#include "Orvel/state/Workspace.h"
#include "core/LanguageCode.h"
#include "engine/apps/OverlayWriter.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view projectSuffix = ".json";
// The project folder lies in a data folder that target apps write too; a folder stuffed with names is
// read no further than this.
constexpr std::size_t maximumProjectEntries = 10000;

bool sameSeenLists(const std::optional<AppState>& a, const std::optional<AppState>& b) {
    if (a.has_value() != b.has_value())
        return false;
    return !a || a->seen == b->seen;
}

} // namespace

std::vector<std::string> Workspace::projectLanguages(const TranslatableApp& app) {
    std::vector<std::string> codes;
    std::error_code error;
    std::size_t seen = 0;
    for (fs::directory_iterator it(app.projectFolder(), error), end;
         !error && it != end && seen < maximumProjectEntries; it.increment(error), ++seen) {
        const std::string name = it->path().filename().string();
        if (!name.ends_with(projectSuffix) || name == "notes.json" || name == "context.json")
            continue;
        std::error_code statusError;
        if (!fs::is_regular_file(it->symlink_status(statusError)))
            continue;
        std::string code = name.substr(0, name.size() - projectSuffix.size());
        // Copies and leftovers beside the projects ("de copy.json") name no language.
        if (isPlausibleLanguageCode(code))
            codes.push_back(std::move(code));
    }
    return codes;
}

Workspace::Loaded Workspace::load(const TranslatableApp& app, const EngineFacade& engine, LoadedFiles& files,
                                  const std::optional<std::string>& storedLanguage,
                                  const Locked<std::optional<std::string>>& chosen) {
    Loaded loaded;
    loaded.context = ContextMap::load(app);
    loaded.notes = AppNotes::load(app);
    loaded.appState = engine.readState(app);
    loaded.languages = storedLanguages(app);
    loaded.language = startingLanguage(storedLanguage, loaded.appState, loaded.languages);
    // A deep link's language, chosen while the files above were read, is the project read and compared.
    if (std::optional<std::string> meanwhile = chosen.get())
        loaded.language = std::move(meanwhile);
    // The project is read beside the strings; the library's measure of the same app, which asks for
    // both, takes what these reads give.
    std::future<LoadedFiles::Project> reading =
        std::async([&] { return loaded.language ? files.project(app, *loaded.language) : nullptr; });
    loaded.strings =
        files.strings(app, loaded.appState ? loaded.appState->seen : EngineFacade::SeenLists{}, engine);
    // The index is built, the copy to edit made and the changes compared side by side.
    std::future<std::shared_ptr<StringListIndex>> indexing = std::async([&] {
        auto index = std::make_shared<StringListIndex>();
        index->reset(*loaded.strings);
        return index;
    });
    LoadedFiles::Project project = reading.get();
    if (project) {
        std::future<TranslationProject> copying = std::async([&] { return TranslationProject(*project); });
        StringChanges changes = StringChanges::compute(*project, *loaded.strings);
        TranslationProject copy = copying.get();
        loaded.index = indexing.get();
        StringListIndex::RowTranslations rows = loaded.index->lookUp(copy);
        // The search's first keystroke finds its texts made.
        loaded.index->foldAll(*loaded.strings, rows);
        loaded.project =
            ReadProject{std::move(copy), std::move(project), std::move(changes), std::move(rows)};
    } else {
        loaded.index = indexing.get();
        loaded.index->foldAll(*loaded.strings, {});
    }
    return loaded;
}

TranslationProject Workspace::readProject(const std::string& language) const {
    return *m_services.loaded->project(m_app, language);
}

void Workspace::showStoredProject(const std::string& language) {
    LoadedFiles::Project read = m_services.loaded->project(m_app, language);
    showProject(*read);
    levelOverlay(std::move(read));
}

void Workspace::levelOverlay(LoadedFiles::Project read) {
    fileWork([this, read = std::move(read), strings = m_strings, app = m_app]() -> std::function<void()> {
        std::error_code error;
        const bool stored =
            fs::is_regular_file(fs::symlink_status(TranslationProject::fileURL(app, read->language), error));
        if (!stored || OverlayWriter::isPublished(*read, *strings, app))
            return {};
        return [this, language = read->language] {
            // Published as it stands now, which holds everything the project checked did; a project left
            // meanwhile is the next one's business.
            if (m_project && m_project->language == language)
                publish();
        };
    });
}

std::vector<std::string> Workspace::storedLanguages() const {
    return storedLanguages(m_app);
}

std::vector<std::string> Workspace::storedLanguages(const TranslatableApp& app) {
    std::vector<std::string> codes = projectLanguages(app);
    for (std::string& code : app.overlayLanguages())
        if (isPlausibleLanguageCode(code))
            codes.push_back(std::move(code));
    std::sort(codes.begin(), codes.end());
    codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
    return codes;
}

void Workspace::reloadStrings() {
    const EngineFacade::SeenLists seen = m_appState ? m_appState->seen : EngineFacade::SeenLists{};
    setStrings(m_services.loaded->strings(m_app, seen, m_services.engine, LoadedFiles::Reuse::never));
    refreshChanges();
}

void Workspace::refreshChanges() {
    m_changesTask.cancel();
    m_changesSinceCompared.clear();
    m_changesNeedComparing = false;
    if (!m_project) {
        setChanges(StringChanges{});
        return;
    }
    setChanges(StringChanges::compute(*m_project, strings()));
    autoUpdateIfNeeded();
}

void Workspace::refreshChangesInBackground(std::shared_ptr<const TranslationProject> snapshot) {
    // The copy holds everything merged so far.
    m_changesNeedComparing = false;
    m_changesSinceCompared.clear();
    const TaskSlot::Ticket ticket = m_changesTask.start();
    runInBackground(
        this,
        [this, ticket, snapshot = std::move(snapshot), strings = m_strings]() -> std::function<void()> {
            StringChanges changes = StringChanges::compute(*snapshot, *strings);
            return [this, ticket, changes = std::move(changes)]() mutable {
                if (!m_changesTask.isCurrent(ticket.generation))
                    return;
                m_changesTask.finish(ticket.generation);
                // What changed since the copy was made is taken again; where that cannot be followed row
                // by row, the project as it stands now is compared.
                if (!changes.takeTranslations(std::exchange(m_changesSinceCompared, {})) && m_project) {
                    refreshChangesInBackground(projectSnapshot());
                    return;
                }
                setChanges(std::move(changes));
                autoUpdateIfNeeded();
            };
        },
        AtTheEnd::leftBehind);
}

void Workspace::stateDidChange() {
    std::optional<AppState> state = m_services.engine.readState(m_app);
    const bool seenChanged = !sameSeenLists(state, m_appState);
    setAppState(std::move(state));
    if (seenChanged)
        reloadStrings();
}

std::optional<std::string> Workspace::startingLanguage(const std::optional<std::string>& stored,
                                                       const std::optional<AppState>& state,
                                                       const std::vector<std::string>& languages) {
    if (stored && isPlausibleLanguageCode(*stored))
        return stored;
    if (state && state->language && isPlausibleLanguageCode(*state->language))
        return state->language;
    if (!languages.empty())
        return languages.front();
    return std::nullopt;
}

} // namespace orvel
