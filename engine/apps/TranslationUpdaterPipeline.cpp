// The real operations behind an update: the pipeline's run and key-term choice, and the two references.

#include "engine/apps/TranslationUpdater.h"

#include "engine/pipeline/TermChoice.h"
#include "engine/reference/BuildSettings.h"

namespace orvel::TranslationUpdater {

Pipeline Pipeline::live() {
    Pipeline pipeline;
    pipeline.run = [](const TranslationJob& job, const std::vector<SourceString>& strings,
                      const Translations& existing, const Feedback& feedback, const BatchCallback& onBatch,
                      const std::stop_token& stop) {
        return job.run(strings, existing, feedback, onBatch, stop);
    };
    pipeline.chooseTerms = [](const TranslationJob& job, const std::vector<SourceString>& strings,
                              std::size_t limit, const std::stop_token& stop) {
        return Terms::choose(strings, limit, job, stop);
    };
    pipeline.appleReference = [](const std::string& language) { return AppleReference::load(language); };
    // An update reports no progress of a first build of the reference.
    pipeline.softwareReference = [](const std::string& language, const std::stop_token& stop) {
        return SoftwareReference::load(language, {}, SoftwareReference::BuildSettings{}, stop);
    };
    return pipeline;
}

} // namespace orvel::TranslationUpdater
