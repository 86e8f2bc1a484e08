// The real operations behind an update: the pipeline's run and key-term choice, and the two references.

#include "engine/apps/TranslationUpdater.h"

#include "engine/reference/BuildSettings.h"

namespace orvel::TranslationUpdater {

Pipeline Pipeline::live() {
    Pipeline pipeline;
    pipeline.appleReference = [](const std::string& language) { return AppleReference::load(language); };
    pipeline.softwareReference = [](const std::string& language, const std::stop_token& stop) {
        return SoftwareReference::load(language, {}, SoftwareReference::BuildSettings{}, stop);
    };
    return pipeline;
}

} // namespace orvel::TranslationUpdater
