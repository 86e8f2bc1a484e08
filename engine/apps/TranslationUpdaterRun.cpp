// Re-translating the new and reworded strings of an app update in one run.

#include "engine/apps/TranslationUpdater.h"

namespace orvel::TranslationUpdater {

std::string feedback(const StringChanges::Change& change) {
    return "The English changed from \"" + change.oldText + "\" to \"" + change.string.text +
           "\". Revise the current translation to match the new English, and keep its wording where the "
           "meaning did not change.";
}

Failures run(const std::vector<SourceString>& added, const std::vector<StringChanges::Change>& changed,
             const TranslationJob& job, const BatchCallback& onResult, const std::stop_token& stop,
             const Pipeline::Run& runJob) {
    Translations existing;
    Feedback notes;
    // The added strings, then those of the changes, as StringChanges::toTranslate() lists them, without a
    // copy of every change on the way.
    std::vector<SourceString> strings = added;
    strings.reserve(added.size() + changed.size());
    // Of two changes of one string the later one speaks for it.
    for (const auto& change : changed) {
        const std::string id = change.id();
        existing.insert_or_assign(id, change.translation);
        notes.insert_or_assign(id, feedback(change));
        strings.push_back(change.string);
    }
    return runJob(job, strings, existing, notes, onResult, stop);
}

} // namespace orvel::TranslationUpdater
