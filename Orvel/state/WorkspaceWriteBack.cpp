// Writing a workspace back: the chosen project's file, the overlay the running app loads and its
// language record, after a pause that gathers a burst of edits into one write. The writes themselves
// are made off the main thread, one at a time (ProjectWriter).

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "Orvel/state/Workspace.h"
#include "core/ParallelMapCopy.h"

namespace orvel {
namespace {

// Maps shorter than this are copied on one thread.
constexpr std::size_t copiedInRuns = 5000;

} // namespace

void Workspace::scheduleWriteBack(std::chrono::milliseconds pause) {
    if (!m_writeTask)
        m_writeTask = m_services.timers.makeTimer([this] { publish(); });
    m_writeTask->start(std::max(pause, std::chrono::milliseconds::zero()));
}

void Workspace::writeBack(std::shared_ptr<const TranslationProject> project, ProjectWriter::Done done,
                          ProjectWriter::Pace pace) {
    m_writer.write({std::move(project), m_strings}, std::move(done), pace);
}

std::shared_ptr<TranslationProject> Workspace::projectSnapshot() {
    // A large app's translations and recorded English are copied on several threads, while the main
    // thread, the project's only writer, waits: a run copies the project for every write. They are set
    // aside for that time, so that the rest is copied whole, whatever the project holds.
    const std::size_t recorded = m_project->sourceText ? m_project->sourceText->size() : 0;
    if (std::max(recorded, m_project->translations.size()) < copiedInRuns)
        return std::make_shared<TranslationProject>(*m_project);
    struct PutBack {
        std::optional<TranslationProject>& project;
        Translations translations;
        std::optional<std::map<std::string, std::string>> recorded;
        ~PutBack() {
            project->translations = std::move(translations);
            project->sourceText = std::move(recorded);
        }
    } setAside{m_project, std::exchange(m_project->translations, {}),
               std::exchange(m_project->sourceText, std::nullopt)};
    auto copy = std::make_shared<TranslationProject>(*m_project);
    copy->translations = parallelCopy(setAside.translations,
                                      splitKeys(setAside.translations.size() / copiedInRuns, strings()));
    if (setAside.recorded)
        copy->sourceText = parallelCopy(*setAside.recorded, splitKeys(recorded / copiedInRuns, strings()));
    return copy;
}

ProjectDelta::Recorded Workspace::recordedCopy(const std::optional<std::map<std::string, std::string>>& sourceText,
                                               const std::optional<std::string>& appVersion,
                                               const std::vector<SourceString>& strings) {
    ProjectDelta::Recorded copy{std::nullopt, appVersion};
    if (sourceText)
        copy.sourceText = parallelCopy(*sourceText, splitKeys(sourceText->size() / copiedInRuns, strings));
    return copy;
}

std::vector<std::string> Workspace::splitKeys(std::size_t runs, const std::vector<SourceString>& strings) {
    // Both maps are keyed by string id: the ids of a sample of rows, in key order, fall about evenly
    // among their keys.
    constexpr std::size_t mostRuns = 4;
    constexpr std::size_t samplesPerRun = 16;
    runs = std::min({runs, mostRuns, static_cast<std::size_t>(std::thread::hardware_concurrency())});
    const std::size_t rows = strings.size();
    if (runs < 2 || rows == 0)
        return {};
    std::vector<std::string> sample;
    for (std::size_t i = 0; i < runs * samplesPerRun; ++i)
        sample.push_back(strings[i * rows / (runs * samplesPerRun)].id());
    std::sort(sample.begin(), sample.end());
    std::vector<std::string> keys;
    for (std::size_t run = 1; run < runs; ++run)
        keys.push_back(std::move(sample[run * samplesPerRun]));
    return keys;
}

void Workspace::publish(ProjectWriter::Pace pace) {
    if (m_project)
        writeChosen(pace, publishDone(m_project->language), true);
}

void Workspace::writeChosen(ProjectWriter::Pace pace, ProjectWriter::Done done, bool keepCopy,
                            const std::shared_ptr<RunRequest>& endOf) {
    // Taken when the write starts: edits and batches that arrive while another write is under way are
    // handed over once, together. While a run goes on, only what changed since the last write is; the
    // person's writes otherwise copy the project, which the writer drops once written.
    m_writer.writeLatest(
        m_project->language,
        [this, language = m_project->language, keepCopy, endOf]() -> std::optional<ProjectWriter::Write> {
            // Every language change writes what waits first, so the project is still this one.
            if (!m_project || m_project->language != language)
                return std::nullopt;
            ProjectWriter::Write write{nullptr, m_strings, std::nullopt};
            write.update = m_unwritten.take(
                *m_project, [this] { return projectSnapshot(); }, keepCopy && m_translating);
            if (endOf && !write.update->keep)
                write.update->written = [this, guard = QPointer<QObject>(this), endOf,
                                         told = m_unwritten.told()](
                                            std::shared_ptr<const TranslationProject> written) {
                    onMainThread(guard, [this, endOf, written = std::move(written), told]() mutable {
                        checkWhatTheEndWrites(*endOf, std::move(written), told);
                    });
                };
            return write;
        },
        std::move(done), pace);
}

void Workspace::endOnceWritten(const std::shared_ptr<RunRequest>& request, std::function<void()> end) {
    if (std::exchange(m_batchPublishPending, false) && m_project && !m_writer.closed())
        writeChosen(ProjectWriter::Pace::atOnce, publishDone(m_project->language), false, request);
    m_writer.afterWrites(std::move(end));
}

void Workspace::releaseWritersCopy() {
    m_unwritten.forget();
    m_writer.releaseCopy();
}

ProjectWriter::Done Workspace::publishDone(std::string written) {
    return [this, written = std::move(written),
            language = m_language](const std::optional<std::string>& failure) {
        if (failure) {
            // What the writer's copy holds is no longer vouched for.
            m_unwritten.forget();
            m_unsaved[written].error = *failure;
            setProblem(Problem::failed(*failure));
            return;
        }
        // The project file and the overlay hold everything up to this write.
        m_unsaved.erase(written);
        // A language published for the first time joins the language menu.
        if (language && std::find(m_languages.begin(), m_languages.end(), *language) == m_languages.end())
            setLanguages(storedLanguages());
    };
}

ProjectWriter::Done Workspace::saveDone(std::string written) {
    // A saved file alone does not vouch for the overlay: only a publish clears what is unsaved.
    return [this, written = std::move(written)](const std::optional<std::string>& failure) {
        if (failure) {
            m_unwritten.forget();
            m_unsaved[written].error = *failure;
        }
    };
}

std::vector<Workspace::UnsavedProject> Workspace::unsavedProjects() const {
    std::vector<UnsavedProject> projects;
    for (const auto& [language, unsaved] : m_unsaved)
        projects.push_back({m_app.name, language, unsaved.error});
    return projects;
}

Workspace::UnsavedCopies Workspace::unsavedCopies() {
    keepUnsavedAside();
    return m_unsaved;
}

void Workspace::writeUnsavedAgain(bool chosenWritten) {
    // Copied first: a write made in place answers at once and changes what is unsaved.
    const std::map<std::string, Unsaved> unsaved = m_unsaved;
    for (const auto& [language, project] : unsaved) {
        if (m_project && m_project->language == language) {
            if (!chosenWritten)
                publish();
        } else if (project.left) {
            writeBack(project.left, publishDone(language));
        }
    }
}

void Workspace::keepUnsavedAside() {
    if (!m_project)
        return;
    if (const auto found = m_unsaved.find(m_project->language); found != m_unsaved.end())
        found->second.left = projectSnapshot();
}

void Workspace::writeBackNow() {
    publishMergedBatches();
    const bool waiting = m_writeTask && m_writeTask->isActive();
    if (waiting) {
        m_writeTask->stop();
        publish();
    }
    // Edits that met a full disk or a folder that refused them are written again at every chance, so
    // that they reach the disk once it takes them.
    writeUnsavedAgain(waiting);
}

void Workspace::flush() {
    writeBackNow();
    if (m_notesTask->isActive()) {
        m_notesTask->stop();
        saveNotes();
    }
    waitForWrites();
}

void Workspace::waitForWrites() {
    m_writer.drain();
}

void Workspace::quit() {
    m_quitting = true;
    // Batches already handed to the main thread are dropped; those merged wait for their write, which
    // the write-back of the person's edits joins, so that what the workspace holds is written once.
    if (m_translating)
        stop();
    m_captureStop.request_stop();
    flush();
    m_writer.close();
}

} // namespace orvel
