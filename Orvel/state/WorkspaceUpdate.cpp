// Translate Changes: the project updater brings the chosen language's project up to date after an app
// update, by hand or by itself once per language and app version, and the workspace follows its results.

#include <exception>
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
    // write-back included; another language's project as its file holds it.
    std::shared_ptr<const TranslationProject> held =
        m_project && m_project->language == request->language ? projectSnapshot() : nullptr;
    runInBackground(
        this,
        [this, guard, request, held = std::move(held), app = m_app, settings = preferences.settings(),
         review = preferences.review(), pipeline = m_services.engine.pipeline()]() -> std::function<void()> {
            // Every state the updater reaches comes back here and is written by the workspace's own writer,
            // the person's edits laid over it: the project file has one writer.
            const TranslationUpdater::Handover handover =
                [this, guard, request](TranslationProject project, const std::optional<Progress>& progress) {
                    onMainThread(guard, [this, request, project = std::move(project), progress]() mutable {
                        takeUpdate(*request, std::move(project), progress);
                    });
                };
            try {
                TranslationProject start = held ? *held : TranslationProject::load(app, request->language);
                TranslationUpdater::Outcome outcome = TranslationUpdater::updateHeldProject(
                    app, std::move(start), settings, review, handover, request->task.token, pipeline);
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
}

void Workspace::applyUpdate(TranslationProject project, const Progress& progress,
                            const std::string& language) {
    // A stopped update's late results still land (they were merged before the stop), but its progress no
    // longer belongs on screen.
    if (m_translating)
        setProgress(progress);
    if (m_language == language)
        setProject(std::move(project));
}

void Workspace::takeUpdate(const RunRequest& request, TranslationProject project,
                           const std::optional<Progress>& progress) {
    // A workspace that has quit, or moved aside for another, writes nothing more.
    if (m_writer.closed())
        return;
    // The updater began from the project as it was when it started.
    request.edits.layOver(project);
    if (m_language != request.language) {
        // The project of a language no longer shown is still this workspace's to write.
        writeBack(std::make_shared<const TranslationProject>(std::move(project)),
                  [this](const std::optional<std::string>& failure) {
                      if (failure)
                          setProblem(Problem::failed(*failure));
                  });
        return;
    }
    if (progress)
        applyUpdate(std::move(project), *progress, request.language);
    else
        setProject(std::move(project));
    m_changesNeedComparing = true;
    // Written like a run's merged batches: the write-back waiting for the person's edits joins it, and
    // results that land together are copied and written once.
    if (m_writeTask)
        m_writeTask->stop();
    if (!std::exchange(m_batchPublishPending, true))
        onMainThread(this, [this] { publishMergedBatches(); });
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
    // before the run ends, and the same copy is compared and checked.
    std::shared_ptr<const TranslationProject> snapshot;
    if (std::exchange(m_batchPublishPending, false) && m_project) {
        snapshot = projectSnapshot();
        publishSnapshot(snapshot);
    }
    resetIfCurrent(*request, std::move(snapshot));
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
