#include "engine/pipeline/JoinedPrefixes.h"

#include <map>
#include <utility>

#include "core/PluralRules.h"
#include "core/Unicode.h"

namespace orvel::Terms {
namespace {

using Prefixes = std::vector<std::string>;
using Slots = std::vector<std::vector<std::string_view>>;

// Every non-empty sequence of one choice per slot, in the slots' order; an empty choice skips its slot.
Prefixes combined(const Slots& slots) {
    Prefixes out{""};
    for (const auto& slot : slots) {
        Prefixes longer;
        for (const std::string& start : out)
            for (const std::string_view choice : slot)
                longer.push_back(start + std::string(choice));
        out = std::move(longer);
    }
    std::erase(out, std::string());
    return out;
}

Prefixes arabic() {
    // And, then; with, like, for; the article. "ل" before the article drops the article's alef: "للملف".
    Prefixes prefixes = combined({{"", "و", "ف"}, {"", "ب", "ك", "ل"}, {"", "ال"}});
    for (const std::string_view conjunction : {"", "و", "ف"})
        prefixes.push_back(std::string(conjunction) + "لل");
    return prefixes;
}

Prefixes hebrew() {
    // And; that; in, like, to, from; the article.
    return combined({{"", "ו"}, {"", "ש"}, {"", "ב", "כ", "ל", "מ"}, {"", "ה"}});
}

const std::map<std::string, Prefixes, std::less<>>& prefixesByLanguage() {
    static const std::map<std::string, Prefixes, std::less<>> table{
        {"ar", arabic()}, {"he", hebrew()}, {"iw", hebrew()}};
    return table;
}

constexpr std::size_t shortestRemainder = 2;

} // namespace

std::vector<std::string> withJoinedPrefixesRemoved(std::vector<std::string> foldedWords,
                                                   std::string_view language) {
    const auto& table = prefixesByLanguage();
    const auto row = table.find(PluralRules::baseCode(language));
    if (row == table.end())
        return foldedWords;
    std::vector<std::string> out;
    for (std::string& word : foldedWords) {
        for (const std::string& prefix : row->second)
            if (word.starts_with(prefix) &&
                text::graphemeCount(std::string_view(word).substr(prefix.size())) >= shortestRemainder)
                out.push_back(word.substr(prefix.size()));
        out.push_back(std::move(word));
    }
    return out;
}

} // namespace orvel::Terms
