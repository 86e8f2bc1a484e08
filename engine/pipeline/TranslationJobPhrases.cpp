#include "engine/pipeline/TranslationJob.h"

namespace orvel {
namespace {

constexpr std::size_t phrasesPerString = 4;

} // namespace

std::optional<std::vector<std::string>> TranslationJob::phrases(std::string_view text) const {
    if (!softwareReference)
        return std::nullopt;
    const std::vector<SoftwareReference::Phrase> found = softwareReference->phrases(text, phrasesPerString);
    if (found.empty())
        return std::nullopt;
    std::vector<std::string> lines;
    lines.reserve(found.size());
    for (const SoftwareReference::Phrase& phrase : found)
        lines.push_back(phrase.promptLine());
    return lines;
}

} // namespace orvel
