#pragma once
// One target app's translation session: its strings, the languages it has projects for, the chosen
// language and project, where its strings were seen, the person's notes, the state the running app
// publishes, and the flags and tasks of the work on them. It lives on the main thread; the views read
// its fields (each observed field has its own change signal) and call its operations.
//
// Threading: every field is read and written on the main thread. Work off the main thread goes through
// Background.h and hands its result back to the main thread, where it is taken only while its task is
// still the current one of its kind (TaskSlot) and the workspace still exists.

#include <QObject>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stop_token>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Orvel/state/Background.h"
#include "Orvel/state/LoadedFiles.h"
#include "Orvel/state/PersonEdits.h"
#include "Orvel/state/ProjectWriter.h"
#include "Orvel/state/ProjectWriterChanges.h"
#include "Orvel/state/Services.h"
#include "Orvel/state/StringListIndex.h"
#include "Orvel/state/TimerFactory.h"
#include "Orvel/state/WorkspaceCounts.h"
#include "Orvel/state/WorkspaceFilter.h"
#include "Orvel/state/WorkspaceProblem.h"
#include "core/AppState.h"
#include "core/Locked.h"
#include "core/SourceString.h"
#include "engine/apps/AppNotes.h"
#include "engine/apps/ProjectDelta.h"
#include "engine/apps/StringChanges.h"
#include "engine/apps/StringTranslation.h"
#include "engine/apps/TranslatableApp.h"
#include "engine/apps/TranslationProject.h"
#include "engine/capture/ContextMap.h"
#include "engine/capture/NotificationBus.h"
#include "engine/capture/Occurrence.h"
#include "engine/model/TranslationStyle.h"
#include "engine/pipeline/TranslationJob.h"

namespace orvel {

class Workspace : public QObject {
    Q_OBJECT

  public:
    using Filter = WorkspaceFilter;
    using Problem = WorkspaceProblem;
    using Selection = std::set<std::string>;
    using Progress = TranslationJob::Progress;

    // The translation last checked for a string, by its hash (a copy of every translation would cost
    // as much memory as the project), and the problem the check found in it.
    struct ProblemCheck {
        std::size_t translation = 0;
        std::optional<std::string> problem;
    };
    using ProblemMap = std::map<std::string, ProblemCheck, std::less<>>;
    // String id to why the string could not be translated.
    using FailureMap = std::map<std::string, std::string>;
    // String id to a translation, and string id to a remark the model must take into account.
    using Translations = TranslationJob::Translations;
    using Feedback = std::map<std::string, std::string>;

    // A project whose last write failed: its edits are not on disk yet.
    struct UnsavedProject {
        std::string app;
        std::string language;
        // The file layer's message of the last failure.
        std::string error;
        bool operator==(const UnsavedProject&) const = default;
    };

    // A project whose last write failed, with the copy that holds its edits when it is no longer the chosen
    // one (the chosen one's edits are in the workspace's project).
    struct Unsaved {
        std::string error;
        std::shared_ptr<const TranslationProject> left;
    };
    using UnsavedCopies = std::map<std::string, Unsaved>;

    // A failed run shows at most this many of its failures.
    static constexpr std::size_t failureLineLimit = 5;

    // A run asks the model to fix at most this many key terms of the app.
    static constexpr std::size_t keyTermLimit = 60;

    // Notes are written this long after their last change.
    static constexpr std::chrono::milliseconds notesSaveDelay{500};
    // Edited translations are written back this long after the last edit, so a burst is written once.
    static constexpr std::chrono::milliseconds writeBackDelay{350};

    // Opens the app: loads its context map, notes, published state, strings, languages and the starting
    // language's project off the main thread and takes them in one step, then chooses the starting
    // language and follows the app's "orvel.state" notifications. Until then every field holds its
    // initial, empty value. Main thread only.
    // `unsaved` are the projects that a workspace of the same app, quit for this one, could not write: they
    // are newer than their files, so they are shown and written again as this workspace's own.
    Workspace(TranslatableApp app, Services services, QObject* parent = nullptr, UnsavedCopies unsaved = {});
    ~Workspace() override;

    // Observed fields. A setter notifies only when the value differs by its type's equality (an app by
    // its bundle location), except those of project, context, progress and changes, which notify on
    // every assignment.
    const TranslatableApp& app() const { return m_app; }
    void setApp(TranslatableApp app);
    // In display order; replaced only by reloadStrings().
    const std::vector<SourceString>& strings() const { return *m_strings; }
    // The languages that have a project file or an overlay, sorted.
    const std::vector<std::string>& languages() const { return m_languages; }
    void setLanguages(std::vector<std::string> languages);
    const std::optional<std::string>& language() const { return m_language; }
    void setLanguage(std::optional<std::string> language);
    // The one way to change the project: a changed project is assigned whole.
    const std::optional<TranslationProject>& project() const { return m_project; }
    void setProject(std::optional<TranslationProject> project);
    const ContextMap& context() const { return *m_context; }
    void setContext(ContextMap context);
    const AppNotes& notes() const { return m_notes; }
    void setNotes(AppNotes notes);
    Filter filter() const { return m_filter; }
    void setFilter(Filter filter);
    bool checklistOpen() const { return m_checklistOpen; }
    void setChecklistOpen(bool open);
    const std::string& search() const { return m_search; }
    void setSearch(std::string search);
    const Selection& selection() const { return m_selection; }
    void setSelection(Selection selection);
    const std::optional<Problem>& problem() const { return m_problem; }
    void setProblem(std::optional<Problem> problem);
    bool translating() const { return m_translating; }
    void setTranslating(bool translating);
    const std::optional<Progress>& progress() const { return m_progress; }
    void setProgress(std::optional<Progress> progress);
    bool capturing() const { return m_capturing; }
    void setCapturing(bool capturing);
    const std::optional<AppState>& appState() const { return m_appState; }
    void setAppState(std::optional<AppState> state);
    const StringChanges& changes() const { return m_changes; }
    void setChanges(StringChanges changes);
    // The changes hold for the project as it stands: no comparison is under way or due.
    bool changesCurrent() const { return !m_changesNeedComparing && !m_changesTask.isRunning(); }
    // The problems of the chosen language have been computed; set by refreshProblems() alone.
    bool problemsReady() const { return m_problemsReady; }

    // Loading.
    // Reads the app's strings again (with those its published state saw), puts them in display order,
    // re-indexes them and recomputes the changes.
    void reloadStrings();
    // The languages with a project file in the app's project folder or an overlay, once each, sorted.
    std::vector<std::string> storedLanguages() const;
    // The languages with a project file in the app's project folder, in the folder's own order.
    static std::vector<std::string> projectLanguages(const TranslatableApp& app);
    // What differs between the project and the strings; the empty changes without a project.
    void refreshChanges();
    // Starts the recomputation of the per-string problems again, cancelling the one under way.
    void refreshProblems();
    // Chooses a language, or none: loads its project, clears the selection, recomputes the changes and
    // problems, reads the checklist flag back and remembers the choice for the next start. A code that
    // does not look like a language code (isPlausibleLanguageCode) is refused: nothing changes.
    void selectLanguage(std::optional<std::string> code);
    // Adds a language to `languages` (kept in plain code order) unless it is there, chooses it and
    // saves its project, so that the language is found again on the next start. A code that does not
    // look like one is refused: nothing changes and nothing is written.
    void addLanguage(const std::string& code);
    // Handles "orvel.state": reads the published state again, and the strings when what it saw changed.
    void stateDidChange();

    // The string list. Rows are worked out on each call from the current fields; the counts once after
    // each change of what they count, however often and by however many views they are read. The
    // views read both again on stringListChanged().
    // The translatable strings that pass the filter and the search, in the order of strings(); the
    // pointers hold until the strings are read again.
    std::vector<const SourceString*> visibleStrings() const;
    // Nothing only for the problems filter while the problems are not computed.
    std::optional<int> count(Filter filter) const;
    int translatableCount() const;
    int translatedCount() const;
    std::optional<int> problemCount() const;
    int seenCount() const;
    const WorkspaceCounts& counts() const;
    // How often the counts were worked out since the workspace opened; for tests and benchmarks.
    std::uint64_t countPasses() const { return m_countPasses; }
    const SourceString* source(std::string_view id) const;
    const StringTranslation* translation(std::string_view id) const;
    // The English the string had before the app update changed it.
    std::optional<std::string> previousSource(std::string_view id) const;
    // Where the string was seen, in stored order; empty when it never was.
    const std::vector<Occurrence>& occurrences(std::string_view id) const;
    // The problem of the string's current translation in the chosen language, or none. A translation
    // is checked once; the result is kept until the translation, the terms or the glossary change.
    std::optional<std::string> problem(std::string_view id) const;
    // The phrase of the translation that the string's problem is about, when the problem is one of the
    // language's wordings to avoid.
    std::optional<std::string> problemMatch(std::string_view id) const;
    // The per-string checks made so far, by string id.
    const ProblemMap& problemCache() const { return m_problemCache; }

    // One line per failure: the string's English (the id itself when no string has it), ": " and why.
    std::vector<std::string> failureLines(FailureMap::const_iterator first,
                                          FailureMap::const_iterator last) const;
    // The text of a failed run: the lines of its first failureLineLimit failures, one per line.
    std::string failureText(const FailureMap& failures) const;
    // A language is chosen, a copy of the app runs, and the state it last published says it shows exactly
    // that language. A state left behind by a copy that has quit is not live.
    bool isLive() const;
    // The entries of the manifest's and the person's glossaries.
    int notesCount() const;

    // Edits of the person. Each is ignored without a project; those of one translation are ignored for an
    // id that names no string. Translation edits are written back after writeBackDelay; term and style
    // edits save the project file at once, quietly.
    // Stores `text` as the person's translation of the string; an empty text removes the translation.
    void setText(std::string text, std::string_view id);
    // Sets one plural form ("zero", "one", "two", "few", "many" or "other") of the person's translation,
    // turning a plain translation into its "other" form first; an empty text removes the form, and the
    // translation with its last form. Other categories are ignored.
    void setPluralForm(std::string text, std::string_view category, std::string_view id);
    // Makes the string's translation the person's, as it stands: it is never flagged again.
    void keep(std::string_view id);
    // Puts back the string's translation as it stood before an edit the person took back, its origin
    // included; none removes it.
    void restoreTranslation(std::string_view id, std::optional<StringTranslation> translation);
    // Chooses the translation of an English key term; an empty translation removes the term.
    void setTerm(const std::string& term, std::string translation);
    // The chosen terms as (term, translation), by the lower-cased term, ties in stored order.
    std::vector<std::pair<std::string, std::string>> sortedTerms() const;
    void setStyle(TranslationStyle style);

    // Write-back. Publishes after `pause` unless another request comes first; a negative pause is none.
    void scheduleWriteBack(std::chrono::milliseconds pause);
    // Has the project file saved and the overlay with its language record written into the app's data
    // folder, off the main thread (waitForWrites() waits for it); a failure becomes the problem `failed`
    // with the file layer's message, and the project stays in memory for the next try. A run's merged
    // batches wait for the rest after a long write.
    void publish(ProjectWriter::Pace pace = ProjectWriter::Pace::atOnce);
    // Writes at once what waits for a debounce (the write-back and the notes), stopping both timers, and
    // waits until every write asked for is on disk. Call before the workspace is dropped.
    void flush();
    // Waits until every project and overlay write asked for is made, and takes their outcomes.
    void waitForWrites();
    // The application ends, or the app moved and another workspace takes over its data folder: the run
    // stops first, so that nothing of it still lands, then what the workspace holds is written, once.
    // Afterwards the workspace writes nothing more and shows no problem: nobody is left to answer an
    // alert, so what failed at the end is read from unsavedProjects().
    void quit();
    // The projects whose last write failed, by language. Each is written again at every chance: the next
    // edit, a language switch, flush() and quit(), and the workspace's end.
    std::vector<UnsavedProject> unsavedProjects() const;
    // The same, each with a copy of its project, for the workspace that takes the app over once this one
    // has quit.
    UnsavedCopies unsavedCopies();

    // The lower-cased terms of the manifest's and the person's glossaries.
    std::set<std::string, std::less<>> glossaryWords() const;
    // "checklistDone." + bundle identifier + "." + chosen language (empty without one).
    std::string checklistKey() const;
    // Closes the checklist and marks it done for the chosen language, so that it no longer opens by itself.
    void finishChecklist();

    // Translate runs. One run (or Translate Changes) goes at a time; the actions do nothing while one
    // goes, without a chosen language or without model preferences. Each finished batch lands in the
    // project and is published at once, but for the strings the person changed since the run started,
    // whose edits stand; the end records the English and app version when nothing
    // failed, and shows the failures (at most failureLineLimit lines) when something did.
    // "Translate": the untranslated strings, or with `all` every string but those the person wrote.
    void translate(bool all);
    // One string again with the person's remark (trimmed; blank means none), even one marked not to be
    // translated.
    void translate(std::string_view id, std::string_view feedback);
    // Every string with a problem again, with the problem as the remark.
    void fixProblems();
    // Starts a run over the strings at `rows` (of the strings as they are now; the run copies them on its
    // worker), with `existing` shown as their current wording.
    void run(std::vector<std::size_t> rows, Translations existing, Feedback feedback);
    // Ends the current run or Translate Changes at once: nothing of it lands afterwards, and a new one
    // can start right away.
    void stop();
    // Whether the configured model serves the language; false also shows unsupportedLanguage. Answers
    // on the main thread, at once for a model that is not one of the Apple back-ends.
    void modelSupports(const std::string& language, std::function<void(bool)> answer);
    // Stores the chosen key terms in the project and saves it; an empty map empties them.
    void setTerms(std::map<std::string, std::string> terms);
    // Takes one finished batch of a run in `language`: the progress, and, while that language's project
    // is the chosen one, its translations, which are published at once.
    void applyBatch(const Translations& batch, const Progress& progress, const std::string& language);
    // Raised by every start and by stop(); a run takes its results' end only while it is still current.
    std::uint64_t runID() const { return m_runID; }

    // Translate Changes: the strings an app update added or reworded, by the project updater, which starts
    // from the project as the workspace holds it and hands every state it reaches back here; the
    // workspace lays what the person changed meanwhile (translations, terms, style) over each and writes
    // it with its own writer, so that no write takes back an earlier one. Shows `failed` for every error,
    // a stop included.
    void updateTranslations();
    // Starts Translate Changes by itself when automatic updates are on, the project was translated
    // before and the app changed; once per language and app version for the life of the workspace.
    void autoUpdateIfNeeded();
    // Takes one result of Translate Changes in `language`: the progress, and what the result changed in
    // the project, laid into it in place while that language's project is the chosen one.
    void applyUpdate(ProjectDelta step, const Progress& progress, const std::string& language);

    // "Capture Context": learns on which screens of the running app its strings appear and merges that
    // into "context.json". Shows accessibility or notRunning instead when it cannot start.
    void capture();
    // Shows `code` in the running app (none: its own language again), then reads its state again.
    void setLive(std::optional<std::string> code);

  signals:
    void appChanged();
    void stringsChanged();
    void languagesChanged();
    void languageChanged();
    void projectChanged();
    void contextChanged();
    void notesChanged();
    void filterChanged();
    void checklistOpenChanged();
    void searchChanged();
    void selectionChanged();
    void problemChanged();
    void translatingChanged();
    void progressChanged();
    void capturingChanged();
    // Also when the app starts or quits, since whether it is live follows.
    void appStateChanged();
    void changesChanged();
    void problemsReadyChanged();
    // Something the rows or counts of the string list are computed from changed: the strings, project,
    // changes, context, filter, search or the readiness of the problems. One recomputation answers it.
    void stringListChanged();

  private:
    // One run (or Translate Changes), shared by its steps on the main thread and its worker, which only
    // reads it.
    struct RunRequest {
        std::string language;
        // The value of runID the run started with.
        std::uint64_t counter = 0;
        TaskSlot::Ticket task;
        // The strings as the run started, and the rows of them it translates.
        std::shared_ptr<const std::vector<SourceString>> strings;
        std::vector<std::size_t> rows;
        Translations existing;
        Feedback feedback;
        // What the person changed in the run's language since it started; the run never takes it back.
        PersonEdits edits;
        // Translate Changes' project while another language is shown, which the run goes on writing.
        std::optional<TranslationProject> aside;
        // The changes and checks of the end were started from the copy its last write made.
        bool checkedAtEnd = false;
    };

    // A project read off the main thread, with what was worked out from it there against the strings
    // read with it.
    struct ReadProject {
        TranslationProject project;
        // The same project as it was read, for the workers that check it.
        LoadedFiles::Project asRead;
        StringChanges changes;
        // The rows' translations in `project` (kept only while it moves along with them).
        StringListIndex::RowTranslations rows;
    };
    // What a workspace reads as it opens, read together off the main thread.
    struct Loaded {
        ContextMap context;
        AppNotes notes;
        std::optional<AppState> appState;
        LoadedFiles::Strings strings;
        // The index of those strings.
        std::shared_ptr<StringListIndex> index;
        std::vector<std::string> languages;
        std::optional<std::string> language;
        // The starting language's project; none without a language.
        std::optional<ReadProject> project;
    };
    // `chosen` is a language chosen meanwhile on the main thread, read in place of the stored one when it
    // comes in time.
    static Loaded load(const TranslatableApp& app, const EngineFacade& engine, LoadedFiles& files,
                       const std::optional<std::string>& storedLanguage,
                       const Locked<std::optional<std::string>>& chosen);
    void takeLoaded(Loaded loaded);
    // Runs file work through the services' runner (off the main thread), its answer back on the main
    // thread while the workspace lives.
    void fileWork(std::function<std::function<void()>()> work);
    // Shows the project of `language` as its file holds it.
    void showStoredProject(const std::string& language);
    // Publishes the shown project when its overlay is not what it would publish (a kill came between the
    // project's write and the overlay's), checking `read`, the project as its file holds it, off the main
    // thread. A language without a project file has nothing to level.
    void levelOverlay(LoadedFiles::Project read);
    static std::vector<std::string> storedLanguages(const TranslatableApp& app);
    // Adds a language to `languages` unless it is there, keeping them sorted.
    void listLanguage(const std::string& code);
    // selectLanguage() with the project already read, when one is given.
    void chooseLanguage(std::optional<std::string> code, std::optional<ReadProject> loaded);
    // Takes `index` as the strings' index when given one built for them.
    void setStrings(LoadedFiles::Strings strings, std::shared_ptr<StringListIndex> index = nullptr);
    // The project of `language` as its file holds it.
    TranslationProject readProject(const std::string& language) const;
    // `problems` is how many rows have a problem, when they are ready.
    void setProblemsReady(bool ready, int problems = 0);
    // Takes the checks made off the main thread, and the number of rows with a problem among them.
    void takeProblems(ProblemMap found, int problems);
    // Chooses the language the workspace opens in: the stored choice, else the language the running
    // app shows, else the first stored language; a choice that does not look like a language code is
    // passed over.
    static std::optional<std::string> startingLanguage(const std::optional<std::string>& stored,
                                                       const std::optional<AppState>& state,
                                                       const std::vector<std::string>& languages);
    // Looks again whether a copy of the app runs whose state was read; true when that changed.
    bool updateRunning();
    void observeState();
    void saveNotesSoon();
    void saveNotes() const;
    // Publishes now when a write-back or merged batches are pending.
    void writeBackNow();
    // Copies, compares and publishes the project once for the batches merged since the last time.
    void publishMergedBatches();
    // Has the batches merged by now published once the main thread has merged those landing with them;
    // after the `last` result only compared, as the run's end writes them.
    void publishMergedSoon(bool last);
    // Compares the project off the main thread when merges could not be followed row by row.
    void compareMergedBatches();
    // Has the project file saved, then its overlay written, by the serial writer.
    void writeBack(std::shared_ptr<const TranslationProject> project, ProjectWriter::Done done,
                   ProjectWriter::Pace pace = ProjectWriter::Pace::atOnce);
    // Shows the chosen language's project (none while it is not read yet): clears the selection,
    // recomputes the changes and problems and opens the checklist of a language nobody started on.
    void showProject(std::optional<TranslationProject> project);
    // showProject() with the changes and the copy to check that were made where it was read.
    void showReadProject(ReadProject read);
    // What showProject() and setProject() share: puts the project in place, and tells whether its terms
    // differ from those of the one before (which makes every problem found stale).
    // The rows' translations are taken from `rows` when they were looked up in this project.
    bool assignProject(std::optional<TranslationProject> project,
                       std::optional<StringListIndex::RowTranslations> rows = std::nullopt);
    // Opens the checklist of a language nobody started on: how both ways of showing a project end.
    void projectShown();
    // refreshProblems() checking `snapshot`, a copy of the project as it stands.
    void refreshProblems(std::shared_ptr<const TranslationProject> snapshot);
    // Records a change the person just made in the project in every run still going in its language.
    void recordEdit(const std::function<void(PersonEdits&, const TranslationProject&)>& record);
    // Stores an edited translation (none removes it), recomputes the changes where they cannot follow
    // the one row (unless `compareChanges` is false: the edit changes none) and schedules the write-back.
    void storeTranslation(std::string_view id, std::optional<StringTranslation> translation,
                          bool compareChanges = true);
    // Changes the terms or style of the project in place and saves its file; a failure is not shown but
    // leaves the project to be written again.
    void changeAndSave(const std::function<void(TranslationProject&)>& change);
    void storeDefault(const std::string& key, const DefaultsStore::Value& value) const;

    // Translate runs (WorkspaceRun.cpp) and Translate Changes (WorkspaceUpdate.cpp).
    // Enters the running state for `total` strings in the chosen language under a new counter.
    std::shared_ptr<RunRequest> startRun(int total);
    // Loads the key and checks the model, then goes on with `next`, told whether the model serves the
    // run's language; `next` finds out itself whether the run was stopped meanwhile.
    void prepareRun(const std::shared_ptr<RunRequest>& request, std::function<void(bool supported)> next);
    void runOnWorker(const std::shared_ptr<RunRequest>& request);
    void storeRunTerms(std::map<std::string, std::string> terms, const RunRequest& request);
    // A batch of the run without what the person changed meanwhile.
    void takeBatch(const RunRequest& request, Translations batch, const Progress& progress);
    // A step of Translate Changes, with what the person changed meanwhile laid over it, laid into the
    // project shown when its language is and written either way; `progress` comes with a merged result.
    // `writersRecord` is a copy of the recorded English the step brings, for the writer's copy.
    void takeUpdate(RunRequest& request, ProjectDelta step, const std::optional<Progress>& progress,
                    std::optional<ProjectDelta::Recorded> writersRecord);
    // Lays a step of Translate Changes into the chosen project in place: only the rows it names are
    // looked up and counted again, and the changes follow them where they can. The writer's copy takes
    // `writersRecord` for the recorded English the step brings; without it the next write copies the
    // project whole.
    void layStep(ProjectDelta step, std::optional<ProjectDelta::Recorded> writersRecord = std::nullopt);
    // A run's last result, after which its end follows at once and writes what it merged.
    static bool isLastResult(const Progress& progress) {
        return progress.total > 0 && progress.done == progress.total;
    }
    // The run has delivered its last result: the person's edits need no more guarding from it.
    void endRun(const std::shared_ptr<RunRequest>& request);
    void runEnded(const std::shared_ptr<RunRequest>& request, const FailureMap& failures);
    // The end of a run without failures: the English and version in `recorded` go into the project,
    // which is published; `written` is a copy of them for the writer's copy of the project.
    void recordRun(const std::shared_ptr<RunRequest>& request, TranslationProject recorded,
                   ProjectDelta::Recorded written);
    void runFailed(const std::shared_ptr<RunRequest>& request, const std::optional<std::string>& error);
    // The batches merged last are written at once, and `end` follows once the disk holds every write asked
    // for: whoever follows a run's end (the sidebar's count, the file's readers) finds what it did.
    void endOnceWritten(const std::shared_ptr<RunRequest>& request, std::function<void()> end);
    void updateOnWorker(const std::shared_ptr<RunRequest>& request);
    void updateEnded(const std::shared_ptr<RunRequest>& request, const FailureMap& failures,
                     const std::optional<std::string>& error);
    // Back to idle when the run is still the current one; a newer run or stop() owns the state otherwise.
    // The changes and problems are worked out again, unless the end's last write already had them
    // started.
    void resetIfCurrent(const RunRequest& request);
    // The copy the end's last write of `request` made, the project as it stood when `told` changes had
    // been told to the writer: the changes and checks start from it beside the write, instead of from
    // another copy once the write is made, if the project is still that state.
    void checkWhatTheEndWrites(RunRequest& request, std::shared_ptr<const TranslationProject> written,
                               std::uint64_t told);
    // The changes, unless they are current, and the problems, worked out from `snapshot` of the project
    // as it stands.
    void compareAndCheck(std::shared_ptr<const TranslationProject> snapshot);

    bool passesFilter(std::size_t row, const StringTranslation* translation) const;
    // Adds (sign 1) or takes away (sign -1) what one row with `translation` counts.
    void countRow(WorkspaceCounts& counts, std::size_t row, const StringTranslation* translation,
                  int sign) const;
    // Puts a run's batch into the project in place; changes it cannot follow row by row are left for a
    // whole comparison (m_changesNeedComparing).
    void mergeTranslations(const Translations& batch);
    // A string's new translation, or none where it is removed.
    using Replacement = std::pair<std::string, std::optional<StringTranslation>>;
    // Replaces translations in the project in place: only their rows are looked up and counted again,
    // so the cost follows the replacements, not the project. Returns whether the changes followed them
    // row by row; otherwise only a whole comparison gives the changes.
    bool replaceTranslations(std::vector<Replacement> replacements);
    // A copy of the project as it stands, for the workers that write it or compare it.
    std::shared_ptr<TranslationProject> projectSnapshot();
    // Has the chosen project written through the writer's own copy, brought up to date with what changed
    // since its last write; `keepCopy` while more of a run's writes follow. The last write of a run
    // names it as `endOf`.
    void writeChosen(ProjectWriter::Pace pace, ProjectWriter::Done done, bool keepCopy,
                     const std::shared_ptr<RunRequest>& endOf = nullptr);
    // No run keeps the writer's copy current any more: it goes, and the next write copies the project.
    void releaseWritersCopy();
    // The end of Translate Changes once its last write is made: back to idle, compared and checked.
    void updateWritten(const RunRequest& request);
    // Keys that cut a map keyed by string id into at most `runs` runs of about equal length, found without
    // walking the map; none for fewer than two runs.
    static std::vector<std::string> splitKeys(std::size_t runs, const std::vector<SourceString>& strings);
    // A copy of the English recorded of `strings` and the app version, made on several threads for a
    // thread that waits.
    static ProjectDelta::Recorded recordedCopy(const std::optional<std::map<std::string, std::string>>& sourceText,
                                               const std::optional<std::string>& appVersion,
                                               const std::vector<SourceString>& strings);
    // What a publish of the project of `written` is told: a failure shows and leaves the project to be
    // written again, a language published for the first time is listed.
    ProjectWriter::Done publishDone(std::string written);
    // What a save of the project file alone is told: a failure is not shown, but leaves the project to be
    // written again.
    ProjectWriter::Done saveDone(std::string written);
    // Writes again every project whose last write failed, the chosen one as it stands now unless
    // `chosenWritten` says a write of it was just asked for.
    void writeUnsavedAgain(bool chosenWritten);
    // The chosen project is about to be left while its edits are not on disk: a copy stays, to be written
    // at the next chance and shown again when its language is chosen again.
    void keepUnsavedAside();
    // refreshChanges() on a worker, from `snapshot`; the changes shown stay until the result arrives,
    // and a newer refresh of either kind supersedes it.
    void refreshChangesInBackground(std::shared_ptr<const TranslationProject> snapshot);
    std::optional<std::string> problemAt(std::size_t row, const StringTranslation* translation) const;

    Services m_services;

    // Observed.
    TranslatableApp m_app;
    // Shared, never changed in place, with the writes that make overlays of them.
    std::shared_ptr<const std::vector<SourceString>> m_strings =
        std::make_shared<const std::vector<SourceString>>();
    std::vector<std::string> m_languages;
    std::optional<std::string> m_language;
    std::optional<TranslationProject> m_project;
    // Shared with the run that started from it; replaced whole, never changed in place.
    std::shared_ptr<const ContextMap> m_context = std::make_shared<const ContextMap>();
    AppNotes m_notes;
    Filter m_filter = Filter::all;
    bool m_checklistOpen = false;
    std::string m_search;
    Selection m_selection;
    std::optional<Problem> m_problem;
    bool m_translating = false;
    std::optional<Progress> m_progress;
    bool m_capturing = false;
    // Stops the capture under way, which then tells the app to turn its markers off: the end of the
    // workspace leaves the app as it was before the capture.
    std::stop_source m_captureStop;
    std::optional<AppState> m_appState;
    StringChanges m_changes;
    bool m_problemsReady = false;

    // Plain.
    // A language was chosen before the workspace had loaded (a deep link); the load keeps it.
    bool m_languageChosen = false;
    // That language, for the load to read its project instead of the stored choice's.
    std::shared_ptr<Locked<std::optional<std::string>>> m_chosenBeforeLoad =
        std::make_shared<Locked<std::optional<std::string>>>();
    // A language added before the workspace had loaded, whose project is saved once it is read.
    std::optional<std::string> m_addedBeforeLoad;
    bool m_loaded = false;
    // Keys (language, space, app version) for which an automatic Translate Changes was started.
    std::set<std::string> m_autoAttempted;
    // The debounced write-back of edits; made with the first request.
    std::unique_ptr<RestartableTimer> m_writeTask;
    TaskSlot m_runTask;
    // Runs that may still deliver results, a stopped one included until its worker has ended.
    std::vector<std::shared_ptr<RunRequest>> m_openRuns;
    // The projects whose last write failed, by language; `left` is the copy of one no longer chosen.
    UnsavedCopies m_unsaved;
    // quit() has begun: nothing more is shown.
    bool m_quitting = false;
    // Rows whose translations were followed in the changes while a whole comparison was under way, which
    // began before them: taken again into its result when it comes.
    std::vector<StringChanges::Retranslation> m_changesSinceCompared;
    // Rows whose translations changed while the problems were checked, from a copy made before them.
    std::vector<std::size_t> m_rowsSinceChecked;
    // A project was assigned whole since that copy was made: the rows are counted again.
    bool m_checkedCopyStale = false;
    // Merged batches wait for their copy and write (applyBatch()).
    bool m_batchPublishPending = false;
    // What was merged since could not be followed in the changes row by row: the copy written next is
    // compared whole.
    bool m_changesNeedComparing = false;
    // Results of a run whose counter is no longer current are dropped.
    std::uint64_t m_runID = 0;
    TaskSlot m_problemsTask;
    TaskSlot m_changesTask;
    std::unique_ptr<RestartableTimer> m_notesTask;
    // The rows by id (the first of a duplicated id), and the per-row caches of the string list.
    mutable StringListIndex m_index;
    mutable ProblemMap m_problemCache;
    // None once what the counts count has changed; worked out again on the next read.
    mutable std::optional<WorkspaceCounts> m_counts;
    mutable std::uint64_t m_countPasses = 0;
    EngineFacade::TermCheck m_termCheck = m_services.engine.termCheck();
    // The project and overlay writes, one at a time off the main thread.
    ProjectWriter m_writer{this, m_app, m_services.runFileWork};
    // What changed in the chosen project since the writer's copy was last brought up to date.
    ProjectWriterChanges m_unwritten;
    // Last, so that it ends first: no state notification reaches a workspace being destroyed.
    NotificationBus::Subscription m_observer;
    // The launches and quits of applications, for whether the app still runs.
    ProcessWatcher::Subscription m_launches;
    // A copy of the app runs and the state read last is its own.
    bool m_appRunning = false;
};

} // namespace orvel
