// Translate Changes: the project updater brings the chosen language's project up to date after an app
// update, by hand or by itself once per language and app version, and the workspace follows its results.

#include <exception>
#include <future>
#include <utility>

#include "Orvel/state/ModelPreferences.h"
#include "Orvel/state/Workspace.h"
#include "core/Cancellation.h"

namespace orvel {

void Workspace::updateTranslations() {
    if (!m_language || m_translating || !m_services.preferences)
        return;
    const std::size_t count = m_changes.toTranslate().size();
    if (count == 0)
        return;
    std::shared_ptr<RunRequest> request = startRun(static_cast<int>(count));
    prepareRun(request, [this, request](bool supported) {
        if (request->task.token.stop_requested()) {
            updateEnded(request, {}, std::string(CancellationError().what()));
            return;
        }
        if (!supported) {
            endRun(request);
            resetIfCurrent(*request);
            return;
        }
        updateOnWorker(request);
    });
}

void Workspace::updateOnWorker(const std::shared_ptr<RunRequest>& request) {
    const ModelPreferences& preferences = *m_services.preferences;
    QPointer<QObject> guard(this);
    // The update starts from the project as the workspace holds it, edits still waiting for their
    // write-back included, copied here once the worker is under way, so that the key terms are asked for
    // while a large project is copied; another language's project as its file holds it.
    const bool held = m_project && m_project->language == request->language;
    std::shared_ptr<TranslationUpdater::HeldStart> start;
    std::promise<TranslationProject> copied;
    if (held)
        start = std::make_shared<TranslationUpdater::HeldStart>(TranslationUpdater::HeldStart{
            m_project->language, m_project->style, m_project->terms, copied.get_future()});
    // The changes shown are the comparison of that project with these strings while nothing since waits
    // to be compared: the update takes them instead of comparing the whole project again before it can
    // ask for its key terms.
    std::optional<StringChanges> compared =
        held && changesCurrent() ? std::optional(m_changes) : std::nullopt;
    runInBackground(
        this,
        [this, guard, request, start, compared = std::move(compared), app = m_app, strings = m_strings,
         settings = preferences.settings(), review = preferences.review(),
         pipeline = m_services.engine.pipeline()]() mutable -> std::function<void()> {
            // What every step of the updater changed comes back here and is laid into the workspace's
            // project, which its own writer writes, the person's edits laid over it: the project file has
            // one writer.
            const TranslationUpdater::Handover handover =
                [this, guard, request, strings](ProjectDelta step, const std::optional<Progress>& progress) {
                    // The writer's copy of the project takes its own of the recorded English, made here,
                    // so that the main thread copies none.
                    std::optional<ProjectDelta::Recorded> writersRecord;
                    if (step.recorded)
                        writersRecord =
                            recordedCopy(step.recorded->sourceText, step.recorded->appVersion, *strings);
                    onMainThread(guard, [this, request, step = std::move(step), progress,
                                         writersRecord = std::move(writersRecord)]() mutable {
                        takeUpdate(*request, std::move(step), progress, std::move(writersRecord));
                    });
                };
            try {
                // Compared with the strings the workspace shows, whose rows the results are laid into.
                TranslationUpdater::Outcome outcome =
                    start
                        ? TranslationUpdater::updateHeldProject(app, std::move(*start), *strings,
                                                                std::move(compared), settings, review,
                                                                handover, request->task.token, pipeline)
                        : TranslationUpdater::updateHeldProject(
                              app, TranslationProject::load(app, request->language), *strings,
                              std::move(compared), settings, review, handover, request->task.token, pipeline);
                return [this, request, failed = std::move(outcome.failed)] {
                    updateEnded(request, failed, std::nullopt);
                };
            } catch (const std::exception& error) {
                // A stop too is shown: the project may stand half updated, which the person should know.
                return [this, request, message = std::string(error.what())] {
                    updateEnded(request, {}, message);
                };
            }
        });
    if (held) {
        // The copy was made for the update alone, which takes it over instead of copying it again.
        try {
            copied.set_value(std::move(*projectSnapshot()));
        } catch (...) {
            copied.set_exception(std::current_exception());
        }
    }
}

void Workspace::applyUpdate(ProjectDelta step, const Progress& progress, const std::string& language) {
    // A stopped update's late results still land (they were merged before the stop), but its progress no
    // longer belongs on screen.
    if (m_translating)
        setProgress(progress);
    if (m_language == language && m_project && m_project->language == language)
        layStep(std::move(step));
}

void Workspace::takeUpdate(RunRequest& request, ProjectDelta step, const std::optional<Progress>& progress,
                           std::optional<ProjectDelta::Recorded> writersRecord) {
    // A workspace that has quit, or moved aside for another, writes nothing more.
    if (m_writer.closed())
        return;
    // The updater began from the project as it was when it started.
    request.edits.layOver(step);
    if (m_language != request.language || !m_project || m_project->language != request.language) {
        // The project of a language no longer shown is still this workspace's to write: it was written
        // when the language was left, so its file holds every step before.
        if (!request.aside) {
            // A copy kept of a project whose last write failed is newer than its file.
            const auto unsaved = m_unsaved.find(request.language);
            request.aside = unsaved != m_unsaved.end() && unsaved->second.left
                                ? *unsaved->second.left
                                : readProject(request.language);
        }
        step.applyTo(*request.aside);
        auto written = std::make_shared<const TranslationProject>(*request.aside);
        writeBack(written, [this, written,
                            done = publishDone(request.language)](const std::optional<std::string>& failure) {
            // Until a write of it holds, this copy is what the language shows again and what is written
            // at the next chance.
            if (failure)
                m_unsaved[written->language].left = written;
            done(failure);
        });
        return;
    }
    // Shown again: the project read back holds what was written aside.
    request.aside.reset();
    // The recorded English comes last: the end that follows at once compares and writes it.
    const bool recorded = step.recorded.has_value();
    // Merged results come with the progress, the recorded English without.
    if (progress)
        applyUpdate(std::move(step), *progress, request.language);
    else
        layStep(std::move(step), std::move(writersRecord));
    // Written like a run's merged batches: the write-back waiting for the person's edits joins it, and
    // results that land together are copied and written once.
    if (m_writeTask)
        m_writeTask->stop();
    if (recorded)
        m_batchPublishPending = true;
    else
        publishMergedSoon(progress && isLastResult(*progress));
}

void Workspace::updateEnded(const std::shared_ptr<RunRequest>& request, const FailureMap& failures,
                            const std::optional<std::string>& error) {
    endRun(request);
    if (error)
        setProblem(Problem::failed(*error));
    else if (!failures.empty())
        setProblem(Problem::failed(failureText(failures)));
    // Every state the updater reached has come through takeUpdate() before this end, so the workspace's
    // project is the one on its way to the file: nothing needs reading again. Its last state is written
    // before the run ends; the comparison and the checks start from the copy that write makes, beside it,
    // so that no second copy of a large project is made or held.
    endOnceWritten(request, [this, request] { updateWritten(*request); });
}

void Workspace::updateWritten(const RunRequest& request) {
    resetIfCurrent(request);
    // Results of a stopped update still landed; what they changed that could not be followed row by row
    // is compared now, as the end of a current one does.
    if (m_changesNeedComparing && m_project)
        refreshChangesInBackground(projectSnapshot());
}

void Workspace::autoUpdateIfNeeded() {
    if (!m_services.preferences || !m_services.preferences->autoUpdate())
        return;
    // A project nobody has translated into yet is the checklist's business, not an update's.
    if (!m_project || (!m_project->sourceText && m_project->translations.empty()))
        return;
    if (m_changes.toTranslate().empty() || m_translating || !m_language)
        return;
    const std::string key = *m_language + " " + m_app.version.value_or("");
    if (m_autoAttempted.insert(key).second)
        updateTranslations();
}

} // namespace orvel
