// The translate run of a workspace: which strings go in, the run on a worker, each finished batch landing
// in the project and the target app while the run goes on, the end, its errors, and Stop.

#include <exception>
#include <set>
#include <utility>

#include "Orvel/state/ModelPreferences.h"
#include "Orvel/state/Workspace.h"
#include "core/Cancellation.h"
#include "core/TextPieces.h"
#include "engine/model/AppProfile.h"

namespace orvel {

void Workspace::translate(bool all) {
    if (!m_project)
        return;
    // Rows, not copies: a large app's strings are copied for the run on its worker, and each row's
    // translation is the index's, not looked up by an id made for it.
    std::vector<std::size_t> chosen;
    const std::vector<SourceString>& listed = strings();
    for (std::size_t row = 0; row < listed.size(); ++row) {
        if (!listed[row].translate)
            continue;
        const StringTranslation* found = m_index.translation(row, m_project);
        // Everything again spares only what the person wrote; otherwise only what has no wording yet.
        const bool taken =
            all ? !found || found->origin != StringTranslation::Origin::person : !found || found->isEmpty();
        if (taken)
            chosen.push_back(row);
    }
    run(std::move(chosen), {}, {});
}

void Workspace::translate(std::string_view id, std::string_view feedback) {
    const std::optional<std::size_t> row = m_index.row(id);
    if (!row)
        return;
    const SourceString& string = strings()[*row];
    Translations existing;
    if (const StringTranslation* current = translation(id))
        existing.emplace(string.id(), *current);
    Feedback remarks;
    if (const std::string_view remark = text::trimmed(feedback); !remark.empty())
        remarks.emplace(string.id(), std::string(remark));
    run({*row}, std::move(existing), std::move(remarks));
}

void Workspace::fixProblems() {
    std::vector<std::size_t> chosen;
    Feedback remarks;
    const std::vector<SourceString>& listed = strings();
    for (std::size_t row = 0; row < listed.size(); ++row) {
        if (!listed[row].translate)
            continue;
        const std::string id = listed[row].id();
        std::optional<std::string> found = problem(id);
        if (!found)
            continue;
        chosen.push_back(row);
        remarks.insert_or_assign(id, std::move(*found));
    }
    run(std::move(chosen), m_project ? m_project->translations : Translations{}, std::move(remarks));
}

std::shared_ptr<Workspace::RunRequest> Workspace::startRun(int total) {
    setTranslating(true);
    setProgress(Progress{.done = 0, .total = total, .failed = 0});
    auto request = std::make_shared<RunRequest>();
    request->language = *m_language;
    request->edits.language = *m_language;
    request->counter = ++m_runID;
    request->task = m_runTask.start();
    m_openRuns.push_back(request);
    return request;
}

void Workspace::prepareRun(const std::shared_ptr<RunRequest>& request, std::function<void(bool)> next) {
    m_services.preferences->loadKey(
        this, [this, request, next = std::move(next)] { modelSupports(request->language, next); });
}

void Workspace::run(std::vector<std::size_t> rows, Translations existing, Feedback feedback) {
    if (!m_language || rows.empty() || m_translating || !m_services.preferences)
        return;
    std::shared_ptr<RunRequest> request = startRun(static_cast<int>(rows.size()));
    request->strings = m_strings;
    request->rows = std::move(rows);
    request->existing = std::move(existing);
    request->feedback = std::move(feedback);
    prepareRun(request, [this, request](bool supported) {
        // Stop has already put the state back; nothing of this run may show any more.
        if (request->task.token.stop_requested())
            return endRun(request);
        if (!supported) {
            endRun(request);
            setTranslating(false);
            setProgress(std::nullopt);
            return;
        }
        runOnWorker(request);
    });
}

void Workspace::runOnWorker(const std::shared_ptr<RunRequest>& request) {
    const ModelPreferences& preferences = *m_services.preferences;
    // The language may have changed while the key loaded: the job then takes nothing of another
    // language's project.
    const bool ownProject = m_project && m_project->language == request->language;
    QPointer<QObject> guard(this);
    // The job is made on the worker: the context of a large app is copied there, not while the window
    // waits.
    runInBackground(
        this,
        [this, guard, request, app = AppProfile(m_app), settings = preferences.settings(), notes = m_notes,
         context = m_context, style = ownProject ? m_project->style : TranslationStyle{},
         terms = ownProject ? m_project->terms : std::map<std::string, std::string>{},
         review = preferences.review(),
         pipeline = m_services.engine.pipeline()]() mutable -> std::function<void()> {
            const std::stop_token& stop = request->task.token;
            try {
                TranslationJob job(std::move(app), request->language, std::move(settings), std::move(notes),
                                   *context, std::move(style), std::move(terms), review, true);
                job.reference = pipeline.appleReference(request->language);
                job.softwareReference = pipeline.softwareReference(request->language, stop);
                job.terms = pipeline.chooseTerms(job, *request->strings, keyTermLimit, stop);
                onMainThread(guard, [this, terms = job.terms, request]() mutable {
                    // Like a batch, the terms of a run stopped meanwhile no longer land.
                    if (!request->task.token.stop_requested())
                        storeRunTerms(std::move(terms), *request);
                });
                const TranslationJob::OnBatch onBatch = [this, guard, request](const Translations& batch,
                                                                               const Progress& progress) {
                    if (request->task.token.stop_requested())
                        return;
                    onMainThread(guard, [this, request, batch, progress] {
                        // Stopped after the batch was sent here: it no longer lands.
                        if (!request->task.token.stop_requested())
                            takeBatch(*request, batch, progress);
                    });
                };
                std::vector<SourceString> chosen;
                chosen.reserve(request->rows.size());
                for (const std::size_t row : request->rows)
                    chosen.push_back((*request->strings)[row]);
                FailureMap failures =
                    pipeline.run(job, chosen, request->existing, request->feedback, onBatch, stop);
                return [this, request, failures = std::move(failures)] { runEnded(request, failures); };
            } catch (const CancellationError&) {
                return [this, request] { runFailed(request, std::nullopt); };
            } catch (const std::exception& error) {
                return [this, request, message = std::string(error.what())] { runFailed(request, message); };
            }
        });
}

void Workspace::modelSupports(const std::string& language, std::function<void(bool)> answer) {
    const std::optional<AppleModels::Kind> kind =
        m_services.preferences ? AppleModels::kind(m_services.preferences->endpoint()) : std::nullopt;
    if (!kind) {
        answer(true);
        return;
    }
    runInBackground(
        this,
        [this, &engine = m_services.engine, language, kind = *kind,
         answer = std::move(answer)]() -> std::function<void()> {
            const bool supported = engine.modelSupports(language, kind);
            return [this, language, supported, answer] {
                if (!supported)
                    setProblem(Problem::unsupportedLanguage(language));
                answer(supported);
            };
        },
        AtTheEnd::leftBehind);
}

void Workspace::setTerms(std::map<std::string, std::string> terms) {
    if (!m_project)
        return;
    std::set<std::string> touched;
    for (const auto& [term, _] : m_project->terms)
        touched.insert(term);
    for (const auto& [term, _] : terms)
        touched.insert(term);
    changeAndSave([&](TranslationProject& project) { project.terms = std::move(terms); });
    recordEdit([&](PersonEdits& edits, const TranslationProject& edited) {
        for (const std::string& term : touched)
            edits.recordTerm(edited, term);
    });
}

void Workspace::storeRunTerms(std::map<std::string, std::string> terms, const RunRequest& request) {
    // Terms chosen for one language are no use to another language chosen meanwhile.
    if (!m_project || m_project->language != request.language)
        return;
    // The choice began from the terms as the run started; those the person chose since stand.
    TranslationProject chosen;
    chosen.terms = std::move(terms);
    request.edits.layOver(chosen);
    // A choice that found nothing new changes nothing: the project is neither copied nor written.
    if (chosen.terms == m_project->terms)
        return;
    changeAndSave([&](TranslationProject& project) { project.terms = std::move(chosen.terms); });
}

void Workspace::takeBatch(const RunRequest& request, Translations batch, const Progress& progress) {
    // What the person wrote during the run is the person's word, not a string that failed.
    std::erase_if(batch, [&](const auto& entry) { return request.edits.touches(entry.first); });
    applyBatch(batch, progress, request.language);
}

void Workspace::endRun(const std::shared_ptr<RunRequest>& request) {
    std::erase(m_openRuns, request);
}

void Workspace::recordEdit(const std::function<void(PersonEdits&, const TranslationProject&)>& record) {
    if (!m_project)
        return;
    for (const std::shared_ptr<RunRequest>& run : m_openRuns)
        if (run->edits.language == m_project->language)
            record(run->edits, *m_project);
}

void Workspace::applyBatch(const Translations& batch, const Progress& progress, const std::string& language) {
    setProgress(progress);
    if (!m_project || m_project->language != language)
        return;
    mergeTranslations(batch);
    // The batch is published now, edits waiting for the write-back with it.
    if (m_writeTask)
        m_writeTask->stop();
    publishMergedSoon(isLastResult(progress));
}

void Workspace::publishMergedSoon(bool last) {
    // Batches that land together (as many as run at once) are copied, compared and written once, as
    // soon as the main thread has merged them all. The last is written by the run's end, which follows
    // at once.
    if (std::exchange(m_batchPublishPending, true))
        return;
    onMainThread(this, [this, last] {
        if (!last)
            publishMergedBatches();
        else if (m_batchPublishPending)
            compareMergedBatches();
    });
}

void Workspace::publishMergedBatches() {
    if (!std::exchange(m_batchPublishPending, false) || !m_project)
        return;
    compareMergedBatches();
    // A large project's writes rest between each other: batches keep arriving, and each write holds all
    // that came before.
    publish(ProjectWriter::Pace::afterRest);
}

void Workspace::compareMergedBatches() {
    // Merges that could not be followed row by row are compared off the main thread; the others are
    // copied when their write starts.
    if (m_changesNeedComparing && m_project)
        refreshChangesInBackground(projectSnapshot());
}

void Workspace::runEnded(const std::shared_ptr<RunRequest>& request, const FailureMap& failures) {
    endRun(request);
    if (!failures.empty()) {
        // Recording the English now would hide the failed strings from the next run's changes.
        setProblem(Problem::failed(failureText(failures)));
        endOnceWritten(request, [this, request] { resetIfCurrent(*request); });
        return;
    }
    if (m_project && m_project->language == request->language) {
        // The English of tens of thousands of strings is gathered off the main thread; the run ends
        // once it is recorded.
        runInBackground(this, [this, request, strings = m_strings, version = m_app.version] {
            TranslationProject recorded;
            recorded.recordSource(*strings, version);
            // The writer's copy takes its own, so that the main thread copies none.
            auto written = std::make_shared<ProjectDelta::Recorded>(
                recordedCopy(recorded.sourceText, recorded.appVersion, *strings));
            return [this, request, recorded = std::move(recorded), written]() mutable {
                recordRun(request, std::move(recorded), std::move(*written));
            };
        });
        return;
    }
    resetIfCurrent(*request);
}

void Workspace::recordRun(const std::shared_ptr<RunRequest>& request, TranslationProject recorded,
                          ProjectDelta::Recorded written) {
    if (!m_project || m_project->language != request->language) {
        resetIfCurrent(*request);
        return;
    }
    // Recorded in place: the translations, and all that is counted and indexed of them, stay. Every
    // string's English is recorded, those the run did not send included, which no longer count as new.
    m_changesNeedComparing = true;
    m_project->sourceText = std::move(recorded.sourceText);
    m_project->appVersion = std::move(recorded.appVersion);
    m_unwritten.recorded(std::move(written));
    emit projectChanged();
    // The last write holds every batch merged before it. The changes and checks start from the copy it
    // writes, beside the write, and the run ends once the write is made: a large project is not copied
    // again for them.
    m_batchPublishPending = false;
    writeChosen(
        ProjectWriter::Pace::atOnce,
        [this, request, done = publishDone(m_project->language)](const std::optional<std::string>& failure) {
            done(failure);
            resetIfCurrent(*request);
        },
        false, request);
}

void Workspace::runFailed(const std::shared_ptr<RunRequest>& request,
                          const std::optional<std::string>& error) {
    endRun(request);
    if (error && !request->task.token.stop_requested())
        setProblem(Problem::failed(*error));
    endOnceWritten(request, [this, request] { resetIfCurrent(*request); });
}

void Workspace::resetIfCurrent(const RunRequest& request) {
    if (m_runID != request.counter)
        return;
    releaseWritersCopy();
    setTranslating(false);
    setProgress(std::nullopt);
    if (!m_project) {
        refreshChanges();
        refreshProblems();
        return;
    }
    if (request.checkedAtEnd)
        return;
    // A large project is compared and checked where the window does not wait for it; changes followed
    // row by row through the run need no comparison.
    compareAndCheck(projectSnapshot());
}

void Workspace::checkWhatTheEndWrites(RunRequest& request, std::shared_ptr<const TranslationProject> written,
                                      std::uint64_t told) {
    // Too late once the run has ended: its own checks are under way.
    if (m_runID != request.counter || !m_translating || !m_project ||
        m_project->language != written->language || m_unwritten.told() != told)
        return;
    request.checkedAtEnd = true;
    compareAndCheck(std::move(written));
}

void Workspace::compareAndCheck(std::shared_ptr<const TranslationProject> snapshot) {
    if (!changesCurrent())
        refreshChangesInBackground(snapshot);
    refreshProblems(std::move(snapshot));
}

void Workspace::stop() {
    ++m_runID;
    m_runTask.cancel();
    releaseWritersCopy();
    setTranslating(false);
    setProgress(std::nullopt);
    refreshProblems();
}

} // namespace orvel
