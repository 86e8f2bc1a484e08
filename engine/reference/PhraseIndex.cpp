#include "engine/reference/PhraseIndex.h"

#include <algorithm>
#include <array>
#include <utility>

#include "core/Characters.h"
#include "core/Regex.h"
#include "core/Unicode.h"
#include "engine/pipeline/Normalizer.h"

namespace orvel {
namespace {

struct Markup {
    char trigger;
    std::string_view pattern;
};

// Placeholders, entities, variables and tags, each tried only when its first character occurs.
constexpr std::array<Markup, 5> markup{{
    {'%', R"(%(\d+\$)?[a-z@]+)"},
    {'{', R"(\{[^}]*\})"},
    {'&', R"(&[a-z][\w.]*;)"},
    {'$', R"(\$\([^)]*\))"},
    {'<', R"(<[^>]+>)"},
}};

bool isAllNumbers(std::string_view word) {
    const auto characters = text::graphemes(word);
    return std::all_of(characters.begin(), characters.end(),
                       [](std::string_view character) { return text::isDigit(character); });
}

constexpr std::size_t fewestWords = 2;
constexpr std::size_t mostWords = 5;

} // namespace

std::vector<const PhraseIndex::IndexedPhrase*> PhraseIndex::Index::containing(const std::string& word) const {
    std::vector<const IndexedPhrase*> found;
    if (auto it = positions.find(word); it != positions.end()) {
        found.reserve(it->second.size());
        for (std::size_t position : it->second)
            found.push_back(&phrases[position]);
    }
    return found;
}

std::vector<std::string> PhraseIndex::words(std::string_view text) {
    std::string lowered = text::lowercased(text);
    for (const Markup& row : markup) {
        if (lowered.find(row.trigger) == std::string::npos)
            continue;
        if (CompiledRegex pattern = RegexCache::regex(row.pattern, false))
            lowered = regex::replaceAll(*pattern, lowered, " ");
    }
    std::vector<std::string> found = Normalizer::words(lowered);
    std::erase_if(found, isAllNumbers);
    return found;
}

PhraseIndex::Index PhraseIndex::build(const SoftwareReference::Table& table) {
    Index index;
    for (const auto& [english, entries] : table) {
        std::vector<std::string> phraseWords = words(english);
        if (phraseWords.size() < fewestWords || phraseWords.size() > mostWords)
            continue;
        const std::size_t position = index.phrases.size();
        std::vector<std::string> distinct = phraseWords;
        std::sort(distinct.begin(), distinct.end());
        distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
        for (std::string& word : distinct)
            index.positions[std::move(word)].push_back(position);
        index.phrases.push_back({english, std::move(phraseWords)});
    }
    return index;
}

std::shared_ptr<const PhraseIndex::Index> PhraseIndex::index(const SoftwareReference::Table& table) {
    return m_index.withLock([&](std::shared_ptr<const Index>& built) {
        if (!built)
            built = std::make_shared<const Index>(build(table));
        return built;
    });
}

} // namespace orvel
