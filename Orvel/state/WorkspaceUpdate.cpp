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
    runInBackground(
        this,
        [this, guard, request, app = m_app, settings = preferences.settings(), review = preferences.review(),
         pipeline = m_services.engine.pipeline()]() -> std::function<void()> {
            const TranslationUpdater::ProjectCallback onResult =
                [this, guard, request](const TranslationProject& project, const Progress& progress) {
                    onMainThread(guard, [this, request, project, progress]() mutable {
                        takeUpdate(*request, std::move(project), progress);
                    });
                };
            try {
                TranslationUpdater::Outcome outcome = TranslationUpdater::updateProject(
                    app, request->language, settings, review, onResult, request->task.token, pipeline);
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
    // The updater has saved and published the project already; a stopped run's late results still
    // match the files, but its progress no longer belongs on screen.
    if (m_translating)
        setProgress(progress);
    if (m_language == language)
        setProject(std::move(project));
}

void Workspace::takeUpdate(const RunRequest& request, TranslationProject project, const Progress& progress) {
    // The updater began from the project as it was when it started.
    request.edits.layOver(project);
    applyUpdate(std::move(project), progress, request.language);
    // Its next result may again be written without the person's edits, which go back to disk soon.
    if (!request.edits.empty() && m_language == request.language)
        scheduleWriteBack(writeBackDelay);
}

void Workspace::updateEnded(const std::shared_ptr<RunRequest>& request, const FailureMap& failures,
                            const std::optional<std::string>& error) {
    endRun(request);
    if (error)
        setProblem(Problem::failed(*error));
    else if (!failures.empty())
        setProblem(Problem::failed(failureText(failures)));
    // What the updater saved is the truth, results still on their way to the main thread included, but
    // for what the person changed meanwhile: that is laid over it and written back, so that the file and
    // the workspace agree.
    const bool shown = m_language == request->language;
    if (shown || !request->edits.empty()) {
        TranslationProject project = readProject(request->language);
        request->edits.layOver(project);
        if (shown) {
            setProject(std::move(project));
            if (!request->edits.empty()) {
                if (m_writeTask)
                    m_writeTask->stop();
                publish();
            }
        } else {
            writeBack(std::make_shared<const TranslationProject>(std::move(project)),
                      [this](const std::optional<std::string>& failure) {
                          if (failure)
                              setProblem(Problem::failed(*failure));
                      });
        }
    }
    resetIfCurrent(*request);
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
