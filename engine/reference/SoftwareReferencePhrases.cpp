#include <algorithm>
#include <set>
#include <tuple>

#include "core/Unicode.h"
#include "engine/pipeline/Terms.h"
#include "engine/reference/PhraseIndex.h"
#include "engine/reference/SoftwareReference.h"

namespace orvel {
namespace {

// How many phrases of one ambiguous word are weighed against the words of a text.
constexpr std::size_t candidatesPerWord = 40;

// A phrase of the index with the table's leading entry for it, before the best are copied out.
struct Found {
    const PhraseIndex::IndexedPhrase* phrase;
    const SoftwareReference::Entry* leading;
    std::int64_t total;
};

bool hasMajorSource(const SoftwareReference::Entry& entry) {
    return entry.counts.contains("android") || entry.counts.contains("chromium");
}

// More programs agreeing first, then the two largest programs, shorter phrases, more uses, the text.
bool comesBefore(const Found& a, const Found& b) {
    if (a.leading->counts.size() != b.leading->counts.size())
        return a.leading->counts.size() > b.leading->counts.size();
    if (const bool major = hasMajorSource(*a.leading); major != hasMajorSource(*b.leading))
        return major;
    if (a.phrase->words.size() != b.phrase->words.size())
        return a.phrase->words.size() < b.phrase->words.size();
    if (a.total != b.total)
        return a.total > b.total;
    return a.phrase->english < b.phrase->english;
}

struct Weighed {
    SoftwareReference::Candidate candidate;
    std::size_t matched = 0;
    std::size_t missing = 0;
    std::size_t position = 0;
};

bool weighsMore(const Weighed& a, const Weighed& b) {
    return std::forward_as_tuple(b.matched, a.missing, a.position, a.candidate.english) <
           std::forward_as_tuple(a.matched, b.missing, b.position, b.candidate.english);
}

} // namespace

std::shared_ptr<PhraseIndex> SoftwareReference::newPhraseIndex() {
    return std::make_shared<PhraseIndex>();
}

const std::set<std::string, std::less<>>& SoftwareReference::stopWords() {
    static const std::set<std::string, std::less<>> words{
        "the",  "a",   "an",   "of",   "to",   "in", "on", "for",  "and", "or", "is", "are",
        "your", "you", "this", "that", "with", "at", "by", "from", "it",  "be", "as"};
    return words;
}

std::string SoftwareReference::Phrase::promptLine() const {
    std::string line = english + " → " + translation.text + " (";
    bool first = true;
    for (Source source : allSources) {
        if (!translation.counts.contains(std::string(rawValue(source))))
            continue;
        line += first ? "" : ", ";
        line += displayName(source);
        first = false;
    }
    return line + ")";
}

std::vector<SoftwareReference::Candidate> SoftwareReference::candidates(std::string_view word,
                                                                        std::size_t limit) const {
    const std::shared_ptr<const PhraseIndex::Index> index = phraseIndex->index(table);

    std::vector<Found> found;
    for (const PhraseIndex::IndexedPhrase* phrase : index->containing(text::lowercased(word))) {
        auto entries = table.find(phrase->english);
        if (entries == table.end() || entries->second.empty())
            continue;
        const Entry& leading = entries->second.front();
        found.push_back({phrase, &leading, leading.total()});
    }
    std::sort(found.begin(), found.end(), comesBefore);

    std::vector<Candidate> taken;
    std::set<std::string, std::less<>> translations;
    for (const Found& next : found) {
        if (taken.size() >= limit)
            break;
        if (!translations.insert(text::lowercased(next.leading->text)).second)
            continue;
        taken.push_back({next.phrase->english, *next.leading, next.phrase->words.size()});
    }
    return taken;
}

std::vector<SoftwareReference::Phrase> SoftwareReference::phrases(std::string_view text,
                                                                  std::size_t limit) const {
    const std::vector<std::string> textWordList = PhraseIndex::words(text);
    const std::set<std::string, std::less<>> textWords(textWordList.begin(), textWordList.end());

    std::vector<Weighed> records;
    for (const std::string& word : textWords) {
        if (!Terms::ambiguousWords().contains(word))
            continue;
        std::size_t position = 0;
        for (Candidate& candidate : candidates(word, candidatesPerWord)) {
            const std::vector<std::string> phraseWordList = PhraseIndex::words(candidate.english);
            std::set<std::string, std::less<>> phraseWords(phraseWordList.begin(), phraseWordList.end());
            Weighed record{std::move(candidate), 0, 0, position++};
            for (const std::string& phraseWord : phraseWords) {
                if (stopWords().contains(phraseWord))
                    continue;
                ++(textWords.contains(phraseWord) ? record.matched : record.missing);
            }
            records.push_back(std::move(record));
        }
    }
    std::sort(records.begin(), records.end(), weighsMore);

    std::vector<Phrase> taken;
    std::set<std::string, std::less<>> englishTaken;
    std::set<std::string, std::less<>> translationsTaken;
    for (Weighed& record : records) {
        if (taken.size() >= limit)
            break;
        if (englishTaken.contains(record.candidate.english))
            continue;
        std::string translation = text::lowercased(record.candidate.leading.text);
        if (translationsTaken.contains(translation))
            continue;
        englishTaken.insert(record.candidate.english);
        translationsTaken.insert(std::move(translation));
        taken.push_back({std::move(record.candidate.english), std::move(record.candidate.leading)});
    }
    return taken;
}

} // namespace orvel
