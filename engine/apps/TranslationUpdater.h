#pragma once
// Bringing one translation project up to date after its app was updated, without a window: what the
// update changed is worked out and applied, new and reworded strings go to the model in one run, and
// every result is saved and published as it arrives.

#include <cstddef>
#include <functional>
#include <future>
#include <map>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "core/SourceString.h"
#include "engine/apps/StringChanges.h"
#include "engine/apps/StringTranslation.h"
#include "engine/apps/TranslatableApp.h"
#include "engine/apps/TranslationProject.h"
#include "engine/apps/UpdateWriter.h"
#include "engine/model/ModelSettings.h"
#include "engine/pipeline/TranslationJob.h"
#include "engine/reference/AppleReference.h"
#include "engine/reference/SoftwareReference.h"

namespace orvel::TranslationUpdater {

// String id to a translation.
using Translations = std::map<std::string, StringTranslation>;
// String id to the reason the model's answer for it was rejected.
using Failures = std::map<std::string, std::string>;
// String id to the note shown to the model with that string.
using Feedback = std::map<std::string, std::string>;
// English key term to its chosen word.
using TermMap = std::map<std::string, std::string>;

// Receives the translations of one finished batch and the run's progress. Batches finish in parallel
// tasks, so calls may overlap.
using BatchCallback = std::function<void(const Translations&, const TranslationJob::Progress&)>;
// Receives the whole project after each merged result, and the run's progress.
using ProjectCallback = std::function<void(const TranslationProject&, const TranslationJob::Progress&)>;

// The pipeline and reference operations an update relies on, as function objects: the application
// uses `live()`, tests script the model and the references through their own.
struct Pipeline {
    // Translates the strings, showing each one's existing translation and feedback to the model;
    // returns the strings whose answers were rejected.
    using Run = std::function<Failures(const TranslationJob&, const std::vector<SourceString>& strings,
                                       const Translations& existing, const Feedback& feedback,
                                       const BatchCallback& onBatch, const std::stop_token& stop)>;
    // The job's terms with the words chosen for at most `limit` more key terms of the strings.
    using ChooseTerms = std::function<TermMap(const TranslationJob&, const std::vector<SourceString>& strings,
                                              std::size_t limit, const std::stop_token& stop)>;
    using LoadAppleReference = std::function<std::optional<AppleReference>(const std::string& language)>;
    using LoadSoftwareReference = std::function<std::optional<SoftwareReference>(
        const std::string& language, const std::stop_token& stop)>;

    Run run;
    ChooseTerms chooseTerms;
    LoadAppleReference appleReference;
    LoadSoftwareReference softwareReference;

    // The real pipeline run, key-term choice and reference loads.
    static Pipeline live();
};

// How many candidate key terms an update asks the model about.
inline constexpr std::size_t termLimit = 60;

// What an update found and what of it the model could not translate.
struct Outcome {
    // As worked out before they were applied to the project.
    StringChanges changes;
    // Empty when every string was translated, or nothing needed translating.
    Failures failed;
};

// The note that asks the model to revise a reworded string's translation, naming the old and the new
// English.
std::string feedback(const StringChanges::Change& change);

// Sends the added strings, then the strings of the changes, through one run of `job`; each change goes
// with its old translation as the current one and its feedback. Returns the strings whose answers were
// rejected; the run's error (a request that still fails, a stop) is thrown unchanged, and batches
// already handed to `onResult` stay with the caller.
Failures run(const std::vector<SourceString>& added, const std::vector<StringChanges::Change>& changed,
             const TranslationJob& job, const BatchCallback& onResult, const std::stop_token& stop,
             const Pipeline::Run& runJob = Pipeline::live().run);

// Loads the project of the app and language (rebuilt from its overlay when the file cannot be read),
// applies what the app's update changed, has the new and reworded strings translated with freshly
// chosen key terms and saves and publishes every result as it is merged. The current English and app
// version are recorded only when no string failed, so that failed strings are reported again next time.
// Throws the error of a save or publication that decides the outcome, of the key-term choice and of the
// run; when the run fails, what was merged is saved and published before its error is passed on.
Outcome updateProject(const TranslatableApp& app, const std::string& language, const ModelSettings& settings,
                      bool review, const ProjectCallback& onResult, const std::stop_token& stop,
                      const Pipeline& pipeline = Pipeline::live());

// Takes what every step of an update changed in the project, in order.
using Handover = UpdateWriter::Handover;

// The same for a project that its caller holds and writes (an open workspace), against the strings the
// caller shows: the update starts from `project` as the caller holds it, edits not yet on disk included,
// writes nothing itself and hands what each step changed in the project to `handover` in order (the
// changes applied, the key terms chosen, each merged result with the run's progress, and the English
// recorded at the end), so that the caller lays them into its own project and its writer stays the file's
// only one. A caller that holds the comparison of `project` with `strings`, as compute() gives it, passes
// it as `compared`, which the update then takes instead of comparing a large project again before the
// key terms can be asked for. Throws the error of the key-term choice and of the run, after handing over
// what was merged.
Outcome updateHeldProject(const TranslatableApp& app, TranslationProject project,
                          const std::vector<SourceString>& strings, std::optional<StringChanges> compared,
                          const ModelSettings& settings, bool review, const Handover& handover,
                          const std::stop_token& stop, const Pipeline& pipeline = Pipeline::live());

// A held project that its caller is still copying as the update starts (a large one a window shows): its
// language, style and key terms at once, the whole project once copied.
struct HeldStart {
    std::string language;
    TranslationStyle style;
    std::map<std::string, std::string> terms;
    std::future<TranslationProject> project;
};

// The same, with the key terms chosen while the project is copied when `compared` is given; the
// project's error, when the copy failed, is thrown.
Outcome updateHeldProject(const TranslatableApp& app, HeldStart start,
                          const std::vector<SourceString>& strings, std::optional<StringChanges> compared,
                          const ModelSettings& settings, bool review, const Handover& handover,
                          const std::stop_token& stop, const Pipeline& pipeline = Pipeline::live());

} // namespace orvel::TranslationUpdater
