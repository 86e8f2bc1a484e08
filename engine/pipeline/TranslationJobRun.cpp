// A whole run: the strings in screen order, the short ones taken over, the rest cut into batches that run
// side by side up to the concurrency limit, each reported as soon as it is done.

#include <algorithm>
#include <limits>
#include <tuple>

#include "core/CharacterCase.h"
#include "core/Date.h"
#include "core/TaskGroup.h"
#include "core/Unicode.h"
#include "engine/model/TranslateRequest.h"
#include "engine/pipeline/Counter.h"
#include "engine/pipeline/TranslationJob.h"

namespace orvel {
namespace {

// Sorts after every screen name that begins with an ASCII letter, digit or most punctuation.
constexpr std::string_view unseenScreen = "~";
constexpr std::size_t shortestSentText = 3;
constexpr std::size_t phrasesForTheCheck = 4;

// The order keys of one string, composed once so that the comparison is by Unicode scalars.
struct SortKey {
    std::string screen;
    std::string table;
    std::string key;

    bool operator<(const SortKey& other) const {
        return std::tie(screen, table, key) < std::tie(other.screen, other.table, other.key);
    }
};

StringTranslation takenOver(const SourceString& string, const ModelSettings& settings) {
    StringTranslation translation;
    translation.text = string.text;
    translation.origin = StringTranslation::Origin::model;
    translation.model = settings.model;
    translation.source = string.text;
    translation.updated = Dates::now();
    return translation;
}

std::vector<std::vector<SourceString>> batchesOf(std::vector<SourceString> strings, int batchSize) {
    const std::size_t step = static_cast<std::size_t>(std::max(batchSize, 1));
    std::vector<std::vector<SourceString>> batches;
    batches.reserve((strings.size() + step - 1) / step);
    for (std::size_t start = 0; start < strings.size(); start += step) {
        const auto first = strings.begin() + static_cast<std::ptrdiff_t>(start);
        const auto last =
            strings.begin() + static_cast<std::ptrdiff_t>(std::min(start + step, strings.size()));
        batches.emplace_back(std::make_move_iterator(first), std::make_move_iterator(last));
    }
    return batches;
}

int countOf(std::size_t size) {
    return static_cast<int>(
        std::min<std::size_t>(size, static_cast<std::size_t>(std::numeric_limits<int>::max())));
}

} // namespace

bool TranslationJob::isTakenOver(std::string_view text) {
    // In ASCII only a line break of CR and LF joins two bytes into one character: most texts of a large
    // app are found too long without a look at their characters.
    if (text.size() >= shortestSentText && text.find('\r') == std::string_view::npos && text::isAscii(text))
        return false;
    const auto characters = text::graphemes(text);
    return characters.size() < shortestSentText &&
           std::none_of(characters.begin(), characters.end(), text::isLowercaseCharacter);
}

void TranslationJob::sortForBatches(std::vector<SourceString>& strings) const {
    std::vector<std::pair<SortKey, SourceString>> keyed;
    keyed.reserve(strings.size());
    for (SourceString& string : strings) {
        const auto places = context.occurrences.find(string.id());
        const bool seen = places != context.occurrences.end() && !places->second.empty();
        SortKey key{text::nfc(seen ? std::string_view(places->second.front().screen) : unseenScreen),
                    text::nfc(string.table), text::nfc(string.key)};
        keyed.emplace_back(std::move(key), std::move(string));
    }
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < keyed.size(); ++i)
        strings[i] = std::move(keyed[i].second);
}

void TranslationJob::runBatch(const std::vector<SourceString>& batch, const std::string& system,
                              const Translations& existing, const Failures& feedback, Counter& counter,
                              int total, const OnBatch& onBatch, const std::stop_token& stop) const {
    BatchResult result = translateBatch(batch, system, existing, feedback, stop);
    if (review && !result.translations.empty())
        result.translations = reviewBatch(batch, result.translations, stop);
    const auto [done, failed] = counter.record(countOf(batch.size()), result.failed);
    if (onBatch)
        onBatch(result.translations, Progress{done, total, countOf(failed.size())});
}

TranslationJob::Failures TranslationJob::run(std::vector<SourceString> strings, const Translations& existing,
                                             const Failures& feedback, const OnBatch& onBatch,
                                             const std::stop_token& stop) const {
    sortForBatches(strings);
    const int total = countOf(strings.size());
    Translations taken;
    std::vector<SourceString> toSend;
    for (SourceString& string : strings) {
        if (isTakenOver(string.text))
            taken.try_emplace(string.id(), takenOver(string, settings));
        else
            toSend.push_back(std::move(string));
    }
    const std::size_t takenCount = strings.size() - toSend.size();

    // Whether any item of the run will carry reference phrases: the system message then explains them.
    const bool phrases = softwareReference && std::any_of(toSend.begin(), toSend.end(), [&](const auto& s) {
                             return !softwareReference->phrases(s.text, phrasesForTheCheck).empty();
                         });
    const std::string system = Prompt::translateSystem(app, language, notes, style, terms, phrases);

    Counter counter;
    if (takenCount > 0) {
        const auto [done, failed] = counter.record(countOf(takenCount), {});
        if (onBatch)
            onBatch(taken, Progress{done, total, 0});
    }

    // Every batch reads this job and its references in place; nothing of them is copied per batch.
    const std::vector<std::vector<SourceString>> batches = batchesOf(std::move(toSend), settings.batchSize);
    TaskGroup::run(
        batches.size(), settings.concurrency,
        [&](std::size_t index, const std::stop_token& batchStop) {
            runBatch(batches[index], system, existing, feedback, counter, total, onBatch, batchStop);
        },
        stop);
    return counter.failed();
}

} // namespace orvel
