#pragma once
// Everything one translation run needs, read by every step of the run; a value copied into each batch.

#include <functional>
#include <map>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "core/SourceString.h"
#include "engine/apps/AppNotes.h"
#include "engine/apps/StringTranslation.h"
#include "engine/capture/ContextMap.h"
#include "engine/model/AppProfile.h"
#include "engine/model/ModelSettings.h"
#include "engine/model/PromptItems.h"
#include "engine/model/TranslationStyle.h"
#include "engine/pipeline/JudgedChange.h"
#include "engine/pipeline/RequestRetry.h"
#include "engine/pipeline/ReviewNote.h"
#include "engine/reference/AppleReference.h"
#include "engine/reference/SoftwareReference.h"

namespace orvel {

class Counter;

struct TranslationJob {
    // How far a run has come, reported after every batch.
    struct Progress {
        // Strings handled so far: taken over, translated or failed.
        int done = 0;
        // All strings the run was given.
        int total = 0;
        // Distinct string ids that failed so far.
        int failed = 0;

        bool operator==(const Progress&) const = default;
    };

    // String id to translation, and string id to the reason a string stayed untranslated.
    using Translations = std::map<std::string, StringTranslation>;
    using Failures = std::map<std::string, std::string>;
    // Receives each batch's translations with the run's progress; called from the batch that finished,
    // so calls of different batches may overlap.
    using OnBatch = std::function<void(const Translations&, const Progress&)>;

    // Item id text to the verdict given for it, trimmed and lowercased.
    using VerdictMap = std::map<std::string, std::string>;

    AppProfile app;
    // The target language code ("de", "pt-BR").
    std::string language;
    ModelSettings settings;
    AppNotes notes;
    ContextMap context;
    TranslationStyle style;
    // English key term to its chosen word; a term kept in English maps to itself.
    std::map<std::string, std::string> terms;
    // Every batch with results is reviewed.
    bool review = false;
    // The review has each proposed fix judged.
    bool verifyReview = false;
    // Both callbacks may be called from several batch tasks at once; whoever sets them moves the work
    // to its own thread.
    std::function<void(const ReviewNote&)> onReview;
    std::function<void(const std::string&)> onLog;
    std::optional<AppleReference> reference;
    std::optional<SoftwareReference> softwareReference;
    // How the model requests wait between tries; tests put in one that does not really wait.
    RequestRetry::Pause retryPause;

    TranslationJob(AppProfile app, std::string language, ModelSettings settings, AppNotes notes,
                   ContextMap context, TranslationStyle style, std::map<std::string, std::string> terms,
                   bool review, bool verifyReview);

    // The prompt lines of the reference phrases that show how the ambiguous words of one source text were
    // translated, at most four; none when there is no software reference or it has no such phrase.
    std::optional<std::vector<std::string>> phrases(std::string_view text) const;

    // The answers to a translate request, a review request and a judge request (the judge with the
    // settings it is handed). Each throws the error of its last try.
    std::string requestTranslations(std::string system, std::string user, const std::stop_token& stop) const;
    std::string requestReview(std::string system, std::string user, const std::stop_token& stop) const;
    std::string requestVerdicts(const std::vector<Prompt::JudgeItem>& items, std::string system,
                                const ModelSettings& judgeSettings, const std::stop_token& stop) const;

    // The batch's translations (by string id) after the model has reviewed them: fixes that pass the
    // checks, and the judge when `verifyReview` is set, replace their strings' translations, and every
    // real change is told to `onReview`. A failed request or an unreadable answer goes to `onLog` and
    // leaves the translations as they were; only a stop ends it early, with CancellationError.
    std::map<std::string, StringTranslation>
    reviewBatch(const std::vector<SourceString>& batch,
                const std::map<std::string, StringTranslation>& translations,
                const std::stop_token& stop) const;

    // Has each change judged forward and reversed at the same time, and gives the reason for every
    // change that must not be applied, by string id. Failed requests and unreadable answers go to
    // `onLog` and count as no answer; only a stop ends it early, with CancellationError.
    std::map<std::string, std::string> judge(const std::vector<JudgedChange>& changes,
                                             const std::stop_token& stop) const;
    // The verdicts of one direction; nothing, after a line to `onLog`, when the request fails or the
    // answer holds no verdicts list. Throws only CancellationError.
    std::optional<VerdictMap> judgeRequest(bool reversed, const std::vector<JudgedChange>& changes,
                                           const ModelSettings& judgeSettings, const std::string& system,
                                           const std::stop_token& stop) const;

    // Translates all `strings`: short strings without lower case are taken over as they are and reported
    // first, the rest go to the model in batches of `settings.batchSize`, at most `settings.concurrency`
    // at once, each reported through `onBatch` as soon as it is done. `existing` and `feedback` (by string
    // id) go with every batch. Returns the strings that stayed untranslated with their latest reasons.
    // The first batch that throws stops the others and its error leaves the run; what was reported
    // before stays reported. A stop of `stop` ends the run with CancellationError.
    Failures run(std::vector<SourceString> strings, const Translations& existing, const Failures& feedback,
                 const OnBatch& onBatch, const std::stop_token& stop = {}) const;

    // Orders strings by the screen they were first seen on ("~", after every named screen, for strings
    // never seen), then by table and key, so that strings of one screen travel together.
    void sortForBatches(std::vector<SourceString>& strings) const;

    // A text of fewer than three characters, none of them lower case ("OK", "%@", "+"), needs no
    // translation.
    static bool isTakenOver(std::string_view text);

    // One batch task of a run: translate, review when asked and there is something to review, count,
    // report. Throws what the translate step throws, with nothing counted or reported.
    void runBatch(const std::vector<SourceString>& batch, const std::string& system,
                  const Translations& existing, const Failures& feedback, Counter& counter, int total,
                  const OnBatch& onBatch, const std::stop_token& stop) const;

    // What one batch gave: the accepted translations and, for the strings left untranslated, the reason;
    // both by string id, never holding the same id.
    struct BatchResult {
        std::map<std::string, StringTranslation> translations;
        std::map<std::string, std::string> failed;
    };

    // Translates one batch with `system` as the system message, and asks once more, with each reason,
    // for the answers that failed their checks. `existing` holds the current translations and
    // `feedback` the person's wishes, both by string id. Throws the error of a request that fails after
    // its retries, and nothing of the batch is kept then.
    BatchResult translateBatch(const std::vector<SourceString>& batch, const std::string& system,
                               const std::map<std::string, StringTranslation>& existing,
                               const std::map<std::string, std::string>& feedback,
                               const std::stop_token& stop) const;
};

} // namespace orvel
