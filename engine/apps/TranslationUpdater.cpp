// Bringing one project up to date after an app update.

#include "engine/apps/TranslationUpdater.h"

#include <exception>
#include <optional>

#include "engine/apps/AppNotes.h"
#include "engine/apps/AppStateFile.h"
#include "engine/apps/ProjectDelta.h"
#include "engine/apps/ProjectStore.h"
#include "engine/apps/UpdateTermChoice.h"
#include "engine/apps/UpdateWriter.h"
#include "engine/capture/ContextMap.h"
#include "engine/model/AppProfile.h"

namespace orvel::TranslationUpdater {
namespace {

using SeenLists = std::vector<std::vector<std::string>>;

// The table and key pairs the running app last reported as shown; none without a readable state.
SeenLists seenStrings(const TranslatableApp& app) {
    auto state = AppStateFile::read(app);
    return state ? std::move(state->seen) : SeenLists();
}

// The job of the update with its key terms chosen: the project's style and terms are taken as they stand
// before anything is applied, which changes neither.
UpdateTermChoice::MakeJob chosenJob(const TranslatableApp& app, const HeldStart& start,
                                    const ModelSettings& settings, bool review,
                                    const std::vector<SourceString>& strings, const Pipeline& pipeline) {
    return [&app, language = start.language, &settings, review, style = start.style, terms = start.terms,
            &strings, &pipeline](const std::stop_token& stop) {
        TranslationJob job(AppProfile(app), language, settings, AppNotes::load(app), ContextMap::load(app),
                           style, terms, review, true);
        // One after the other, the Apple reference first.
        job.reference = pipeline.appleReference(language);
        job.softwareReference = pipeline.softwareReference(language, stop);
        job.terms = pipeline.chooseTerms(job, strings, termLimit, stop);
        return job;
    };
}

// Translates what the update added and reworded, merging every result into the store and writing it
// at once; returns the strings that failed. When the run fails, what was merged is written before its
// error is passed on, since the writing of the last result may have failed.
Failures translate(const StringChanges& changes, const TranslationJob& job, ProjectStore& store,
                   UpdateWriter& writer, const ProjectCallback& onResult, const std::stop_token& stop,
                   const Pipeline& pipeline) {
    const auto mergeAndWrite = [&](const Translations& translations,
                                   const TranslationJob::Progress& progress) {
        if (!onResult) {
            writer.mergeQuietly(store, translations, progress);
            return;
        }
        const TranslationProject merged = store.merge(translations);
        writer.writeLatestQuietly(store);
        onResult(merged, progress);
    };
    try {
        return run(changes.added, changes.changed, job, mergeAndWrite, stop, pipeline.run);
    } catch (...) {
        writer.writeLatestQuietly(store);
        throw;
    }
}

// What the update recorded at the end, taken out of `project`, which is not used again.
ProjectDelta recordedStep(TranslationProject& project) {
    ProjectDelta step;
    step.recorded = ProjectDelta::Recorded{std::move(project.sourceText), project.appVersion};
    return step;
}

bool translates(const StringChanges& changes) {
    return !changes.added.empty() || !changes.changed.empty();
}

HeldStart readyStart(TranslationProject project) {
    HeldStart start{project.language, project.style, project.terms, {}};
    std::promise<TranslationProject> ready;
    ready.set_value(std::move(project));
    start.project = ready.get_future();
    return start;
}

Outcome update(const TranslatableApp& app, HeldStart start, const std::vector<SourceString>& strings,
               std::optional<StringChanges> compared, const ModelSettings& settings, bool review,
               const ProjectCallback& onResult, const Handover& handover, const std::stop_token& stop,
               const Pipeline& pipeline) {
    // Chosen beside the steps below when the caller takes them, and with the comparison at hand before
    // the project is taken, which the caller may still be copying; after the first save otherwise.
    std::optional<UpdateTermChoice> choice;
    const auto choose = [&] {
        choice.emplace(chosenJob(app, start, settings, review, strings, pipeline),
                       static_cast<bool>(handover), stop);
    };
    if (compared && translates(*compared))
        choose();
    TranslationProject project = start.project.get();
    Outcome outcome{compared ? std::move(*compared) : StringChanges::compute(project, strings), {}};
    const StringChanges& changes = outcome.changes;
    if (!choice && translates(changes))
        choose();
    apply(project, changes.changed, changes.moved, changes.removed);
    // A caller that holds the project is told only what the steps changed in it.
    ProjectDelta applied = handover ? ProjectDelta::applied(project, changes) : ProjectDelta{};

    UpdateWriter writer(app, strings, handover);
    if (!choice) {
        project.recordTranslatedSource(strings, app.version);
        if (handover)
            applied.recorded = recordedStep(project).recorded;
        writer.write(project, std::move(applied));
        return outcome;
    }

    writer.save(project, std::move(applied));
    TranslationJob job = choice->take();
    project.terms = job.terms;
    ProjectDelta chosen;
    chosen.terms = project.terms;
    writer.save(project, std::move(chosen));

    ProjectStore store(std::move(project));
    Failures failed = translate(changes, job, store, writer, onResult, stop, pipeline);
    // Failed strings keep their old recorded English, so that the next comparison reports them again.
    ProjectDelta last;
    if (failed.empty())
        store.updateProject([&](TranslationProject& filled) {
            filled.recordTranslatedSource(strings, app.version);
            if (handover)
                last = recordedStep(filled);
        });
    writer.writeLatest(store, std::move(last));
    outcome.failed = std::move(failed);
    return outcome;
}

} // namespace

Outcome updateProject(const TranslatableApp& app, const std::string& language, const ModelSettings& settings,
                      bool review, const ProjectCallback& onResult, const std::stop_token& stop,
                      const Pipeline& pipeline) {
    TranslationProject project = TranslationProject::load(app, language);
    // This one list serves the comparison, the key terms, the recording and every publication.
    const std::vector<SourceString> strings = app.loadStrings(seenStrings(app));
    return update(app, readyStart(std::move(project)), strings, std::nullopt, settings, review, onResult, {},
                  stop, pipeline);
}

Outcome updateHeldProject(const TranslatableApp& app, TranslationProject project,
                          const std::vector<SourceString>& strings, std::optional<StringChanges> compared,
                          const ModelSettings& settings, bool review, const Handover& handover,
                          const std::stop_token& stop, const Pipeline& pipeline) {
    return updateHeldProject(app, readyStart(std::move(project)), strings, std::move(compared), settings,
                             review, handover, stop, pipeline);
}

Outcome updateHeldProject(const TranslatableApp& app, HeldStart start,
                          const std::vector<SourceString>& strings, std::optional<StringChanges> compared,
                          const ModelSettings& settings, bool review, const Handover& handover,
                          const std::stop_token& stop, const Pipeline& pipeline) {
    return update(app, std::move(start), strings, std::move(compared), settings, review, {}, handover, stop,
                  pipeline);
}

} // namespace orvel::TranslationUpdater
