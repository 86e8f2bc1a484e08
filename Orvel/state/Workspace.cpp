#include "Orvel/state/Workspace.h"

#include <exception>
#include <iterator>
#include <utility>

#include "Orvel/state/ObservedField.h"
#include "core/OrvelProtocol.h"
#include "core/Unicode.h"

namespace orvel {

Workspace::Workspace(TranslatableApp app, Services services, QObject* parent, UnsavedCopies unsaved)
    : QObject(parent), m_services(std::move(services)), m_app(std::move(app)) {
    // Taken before the load, whose choice of language shows a kept copy instead of the older file.
    m_unsaved = std::move(unsaved);
    m_notesTask = m_services.timers.makeTimer([this] { saveNotes(); });
    if (!m_services.loaded)
        m_services.loaded = std::make_shared<LoadedFiles>();
    std::optional<std::string> stored = m_services.defaults.string("language." + m_app.bundleIdentifier);
    fileWork([this, app = m_app, &engine = m_services.engine, files = m_services.loaded,
              stored = std::move(stored), chosen = m_chosenBeforeLoad] {
        return [this, loaded = load(app, engine, *files, stored, *chosen)]() mutable {
            takeLoaded(std::move(loaded));
        };
    });
}

void Workspace::fileWork(std::function<std::function<void()>()> work) {
    if (m_services.runFileWork)
        m_services.runFileWork(this, std::move(work));
    else
        runInBackground(this, std::move(work));
}

void Workspace::takeLoaded(Loaded loaded) {
    m_loaded = true;
    setContext(std::move(loaded.context));
    // Loaded notes differ from the empty ones the workspace starts with, so they are saved back once.
    setNotes(std::move(loaded.notes));
    setAppState(std::move(loaded.appState));
    setStrings(std::move(loaded.strings), std::move(loaded.index));
    setLanguages(std::move(loaded.languages));
    if (m_languageChosen) {
        // The language chosen meanwhile (a deep link) stays. The load read its project and compared it
        // when the choice came in time; otherwise it is read now.
        std::optional<std::string> chosen = m_language;
        std::optional<ReadProject> read;
        if (loaded.project && loaded.language == chosen)
            read = std::move(loaded.project);
        chooseLanguage(std::move(chosen), std::move(read));
    } else {
        chooseLanguage(std::move(loaded.language), std::move(loaded.project));
    }
    // A language added before the load joins the languages read since, and is saved now, so that it is
    // found again on the next start.
    if (m_project && std::exchange(m_addedBeforeLoad, std::nullopt) == m_project->language) {
        listLanguage(m_project->language);
        m_writer.write({projectSnapshot(), nullptr}, saveDone(m_project->language));
    }
    observeState();
}

Workspace::~Workspace() {
    m_observer.reset();
    m_launches.reset();
    m_problemsTask.cancel();
    m_runTask.cancel();
    m_captureStop.request_stop();
    // Edits and notes typed (and batches merged) just before the workspace ends (the application quits)
    // are written now rather than dropped with their pending saves, and so are projects whose last write
    // failed; the writer makes them as it ends. Nobody is left to be shown a failure.
    const bool chosenUnsaved = m_project && m_unsaved.contains(m_project->language);
    if (((m_writeTask && m_writeTask->isActive()) || m_batchPublishPending || chosenUnsaved) && m_project)
        writeBack(projectSnapshot(), {});
    for (const auto& [_, unsaved] : m_unsaved)
        if (unsaved.left && !(m_project && m_project->language == unsaved.left->language))
            writeBack(unsaved.left, {});
    if (m_notesTask->isActive())
        saveNotes();
    // Writes waiting to copy the project make their copies now, while it is still there.
    m_writer.finishQuietly();
}

void Workspace::observeState() {
    // The bus may deliver on any thread; the handler only queues the work for the main thread, where the
    // guard (made here, on the main thread) tells whether the workspace still exists.
    QPointer<QObject> guard(this);
    m_observer = m_services.bus.subscribe(
        std::string(OrvelProtocol::stateNotification), m_app.bundleIdentifier,
        [guard, this](const Notification&) { onMainThread(guard, [this] { stateDidChange(); }); });
    if (m_services.processes)
        m_launches = m_services.processes->subscribe([guard, this] {
            onMainThread(guard, [this] {
                if (updateRunning())
                    emit appStateChanged();
            });
        });
}

void Workspace::setApp(TranslatableApp app) {
    if (!replaceObserved(m_app, std::move(app)))
        return;
    m_writer.setApp(m_app);
    // The manifest's glossary takes part in the problems.
    m_counts.reset();
    emit appChanged();
}

void Workspace::setStrings(LoadedFiles::Strings strings, std::shared_ptr<StringListIndex> index) {
    if (m_strings == strings || *m_strings == *strings)
        return;
    m_strings = std::move(strings);
    if (index)
        m_index = std::move(*index);
    else
        m_index.reset(*m_strings);
    m_counts.reset();
    emit stringsChanged();
    emit stringListChanged();
}

void Workspace::setLanguages(std::vector<std::string> languages) {
    if (replaceObserved(m_languages, std::move(languages)))
        emit languagesChanged();
}

void Workspace::setLanguage(std::optional<std::string> language) {
    if (!replaceObserved(m_language, std::move(language)))
        return;
    m_counts.reset();
    emit languageChanged();
}

void Workspace::setProject(std::optional<TranslationProject> project) {
    if (assignProject(std::move(project)))
        refreshProblems();
}

bool Workspace::assignProject(std::optional<TranslationProject> project,
                              std::optional<StringListIndex::RowTranslations> rows) {
    const std::optional<TranslationProject> old = std::exchange(m_project, std::move(project));
    m_unwritten.forget();
    if (rows && m_project)
        m_index.projectChanged(std::move(*rows), *m_project);
    else
        m_index.projectChanged();
    m_counts.reset();
    // Any row may differ from the copy the problems under way are checked in.
    m_checkedCopyStale = m_problemsTask.isRunning();
    emit projectChanged();
    emit stringListChanged();
    // Problems depend on the chosen terms; a new translation only invalidates its own cache entry.
    const bool termsChanged =
        old.has_value() != m_project.has_value() || (old && m_project && old->terms != m_project->terms);
    if (termsChanged)
        m_problemCache.clear();
    return termsChanged;
}

void Workspace::mergeTranslations(const Translations& batch) {
    std::vector<Replacement> replacements(batch.begin(), batch.end());
    if (!replaceTranslations(std::move(replacements)))
        m_changesNeedComparing = true;
}

bool Workspace::replaceTranslations(std::vector<Replacement> replacements) {
    if (m_index.hasDuplicateIds()) {
        // Rows that share an id share its translation; the whole project is looked up again.
        TranslationProject project = *m_project;
        for (auto& [id, translation] : replacements)
            if (translation)
                project.translations.insert_or_assign(id, std::move(*translation));
            else
                project.translations.erase(id);
        setProject(std::move(project));
        return false;
    }
    // A string the app no longer has, or a removal: only a whole comparison tells what changes.
    bool followed = true;
    std::vector<std::pair<std::size_t, const std::string*>> rows;
    rows.reserve(replacements.size());
    std::vector<StringChanges::Retranslation> retranslations;
    retranslations.reserve(replacements.size());
    for (const auto& [id, translation] : replacements) {
        const std::optional<std::size_t> row = m_index.row(id);
        if (!row) {
            followed = false;
            continue;
        }
        rows.emplace_back(*row, &id);
        if (!translation) {
            followed = false;
            continue;
        }
        const StringTranslation* before = m_index.translation(*row, m_project);
        retranslations.push_back(
            {strings()[*row], before ? std::optional(*before) : std::nullopt, *translation});
    }
    if (m_counts)
        for (const auto& [row, _] : rows)
            countRow(*m_counts, row, m_index.translation(row, m_project), -1);
    // Entries replaced in place keep their address; the index learns the new ones.
    for (auto& [id, translation] : replacements) {
        m_unwritten.translation(id);
        if (translation)
            m_project->translations.insert_or_assign(id, std::move(*translation));
        else
            m_project->translations.erase(id);
    }
    for (const auto& [row, id] : rows) {
        const auto found = m_project->translations.find(*id);
        m_index.translationChanged(row, found == m_project->translations.end() ? nullptr : &found->second);
    }
    if (m_counts)
        for (const auto& [row, _] : rows)
            countRow(*m_counts, row, m_index.translation(row, m_project), 1);
    // The problems under way count these rows as they stood in their copy.
    if (m_problemsTask.isRunning())
        for (const auto& [row, _] : rows)
            m_rowsSinceChecked.push_back(row);
    // While a whole comparison is due, only another whole comparison is sound. One under way began
    // before these rows changed: they are taken into its result again when it comes, and the changes
    // shown meanwhile follow them where they can.
    followed = followed && !m_changesNeedComparing;
    if (followed && m_changesTask.isRunning()) {
        if (m_changes.takeTranslations(retranslations)) {
            m_index.changesChanged();
            emit changesChanged();
        }
        m_changesSinceCompared.insert(m_changesSinceCompared.end(), retranslations.begin(),
                                      retranslations.end());
    } else if (followed && m_changes.takeTranslations(retranslations)) {
        m_index.changesChanged();
        emit changesChanged();
    } else {
        followed = false;
    }
    // The terms stay as they were, so the problems already checked stand.
    emit projectChanged();
    emit stringListChanged();
    return followed;
}

void Workspace::layStep(ProjectDelta step, std::optional<ProjectDelta::Recorded> writersRecord) {
    std::vector<Replacement> replacements(std::make_move_iterator(step.translations.begin()),
                                          std::make_move_iterator(step.translations.end()));
    if (!replacements.empty() && !replaceTranslations(std::move(replacements)))
        m_changesNeedComparing = true;
    // Retired entries are counted nowhere, but what they hold decides what is moved or reworded. So does
    // the recorded English, which tells a new string from one never translated: the updater records only
    // what it leaves translated and what was recorded before, which changes that for no string, but a
    // project recorded for the first time tells its new strings apart from then on.
    for (auto& [id, translation] : step.retired) {
        m_changesNeedComparing = true;
        m_unwritten.retired(id);
        if (translation)
            m_project->retired.insert_or_assign(id, std::move(*translation));
        else
            m_project->retired.erase(id);
    }
    if (step.recorded) {
        if (!m_project->sourceText)
            m_changesNeedComparing = true;
        if (writersRecord)
            m_unwritten.recorded(std::move(*writersRecord));
        else
            m_unwritten.forget();
        m_project->sourceText = std::move(step.recorded->sourceText);
        m_project->appVersion = std::move(step.recorded->appVersion);
    }
    const bool termsChanged = step.terms && *step.terms != m_project->terms;
    if (termsChanged) {
        m_unwritten.terms();
        m_project->terms = std::move(*step.terms);
    }
    emit projectChanged();
    // The terms take part in every check: what was found with the old ones no longer holds.
    if (termsChanged) {
        m_problemCache.clear();
        refreshProblems();
    }
}

void Workspace::setContext(ContextMap context) {
    m_context = std::make_shared<const ContextMap>(std::move(context));
    m_counts.reset();
    emit contextChanged();
    emit stringListChanged();
}

void Workspace::setNotes(AppNotes notes) {
    const AppNotes old = std::exchange(m_notes, std::move(notes));
    if (old == m_notes)
        return;
    emit notesChanged();
    saveNotesSoon();
    if (old.glossary != m_notes.glossary) {
        m_problemCache.clear();
        m_counts.reset();
    }
}

void Workspace::setFilter(Filter filter) {
    if (!replaceObserved(m_filter, filter))
        return;
    emit filterChanged();
    emit stringListChanged();
}

void Workspace::setChecklistOpen(bool open) {
    if (replaceObserved(m_checklistOpen, open))
        emit checklistOpenChanged();
}

void Workspace::setSearch(std::string search) {
    if (!replaceObserved(m_search, std::move(search)))
        return;
    emit searchChanged();
    emit stringListChanged();
}

void Workspace::setSelection(Selection selection) {
    if (replaceObserved(m_selection, std::move(selection)))
        emit selectionChanged();
}

void Workspace::setProblem(std::optional<Problem> problem) {
    // Once the workspace has quit nobody is left to answer an alert: a run that ends after (stopped by the
    // quit, or failing) and a last write that fails show nothing; the application reports unsaved edits.
    if (problem && m_quitting)
        return;
    if (replaceObserved(m_problem, std::move(problem)))
        emit problemChanged();
}

void Workspace::setTranslating(bool translating) {
    if (replaceObserved(m_translating, translating))
        emit translatingChanged();
}

void Workspace::setProgress(std::optional<Progress> progress) {
    m_progress = std::move(progress);
    emit progressChanged();
}

void Workspace::setCapturing(bool capturing) {
    if (replaceObserved(m_capturing, capturing))
        emit capturingChanged();
}

void Workspace::setAppState(std::optional<AppState> state) {
    const bool changed = replaceObserved(m_appState, std::move(state));
    if (updateRunning() || changed)
        emit appStateChanged();
}

void Workspace::setChanges(StringChanges changes) {
    m_changes = std::move(changes);
    m_index.changesChanged();
    emit changesChanged();
    emit stringListChanged();
}

void Workspace::setProblemsReady(bool ready, int problems) {
    if (!replaceObserved(m_problemsReady, ready))
        return;
    // Only the count of problems changes: the other counts stand, and are not worked out again.
    if (m_counts) {
        if (ready)
            m_counts->problems = problems;
        else
            m_counts->problems.reset();
    }
    emit problemsReadyChanged();
    emit stringListChanged();
}

void Workspace::saveNotesSoon() {
    m_notesTask->start(notesSaveDelay);
}

void Workspace::saveNotes() const {
    try {
        m_notes.save(m_app);
    } catch (const std::exception&) {
        // A notes file that cannot be written is left as it was; the notes stay in the workspace and the
        // next change tries again.
    }
}

void Workspace::storeDefault(const std::string& key, const DefaultsStore::Value& value) const {
    try {
        m_services.defaults.set(key, value);
    } catch (const std::exception&) {
        // Remembered choices are a convenience: a settings file that cannot be written costs only that.
    }
}

std::string Workspace::checklistKey() const {
    return "checklistDone." + m_app.bundleIdentifier + "." + m_language.value_or("");
}

std::set<std::string, std::less<>> Workspace::glossaryWords() const {
    std::set<std::string, std::less<>> words;
    if (m_app.manifest && m_app.manifest->glossary)
        for (const AppManifest::Term& term : *m_app.manifest->glossary)
            words.insert(text::lowercased(term.term));
    for (const AppManifest::Term& term : m_notes.glossary)
        words.insert(text::lowercased(term.term));
    return words;
}

} // namespace orvel
