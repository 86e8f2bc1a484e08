#include "Orvel/state/DisplayOrder.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "core/Regex.h"
#include "core/RegexCache.h"
#include "core/Unicode.h"

namespace orvel::DisplayOrder {
namespace {

constexpr const char* placeholderPattern =
    R"(%(\d+\$)?[-+#0 ]*\d*(\.\d+)?(hh|h|ll|l|q|z|t|j)?[@dDuUxXoOfeEgGcCsSpaA%])";

std::string withoutPlaceholders(const std::string& text) {
    // Most strings have no placeholder; they skip the expression.
    if (text.find('%') == std::string::npos)
        return text;
    static const CompiledRegex placeholder = RegexCache::regex(placeholderPattern);
    return placeholder ? regex::replaceAll(*placeholder, text, " ") : text;
}

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

} // namespace

std::string sortKey(const SourceString& string) {
    std::string text = withoutPlaceholders(string.text);
    // Most texts start with a letter; they need no look at characters.
    if (!text.empty() && isAsciiLetter(text.front()))
        return text;
    for (std::string_view character : text::graphemes(text))
        if (text::isLetter(character))
            return text.substr(static_cast<std::size_t>(character.data() - text.data()));
    return {};
}

std::vector<SourceString> sorted(std::vector<SourceString> strings) {
    struct Entry {
        bool hasKey;
        std::string collationKey;
        std::size_t index;
    };
    std::vector<Entry> entries;
    entries.reserve(strings.size());
    for (std::size_t i = 0; i < strings.size(); ++i) {
        const std::string key = sortKey(strings[i]);
        entries.push_back(
            {!key.empty(), key.empty() ? std::string() : text::localizedStandardSortKey(key), i});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        if (a.hasKey != b.hasKey)
            return a.hasKey;
        return a.collationKey < b.collationKey;
    });
    // Put in order where they lie, one cycle of the permutation at a time: a second list of a large app's
    // strings would cost as much again in fresh memory.
    std::vector<bool> placed(strings.size(), false);
    for (std::size_t start = 0; start < strings.size(); ++start) {
        if (placed[start])
            continue;
        SourceString first = std::move(strings[start]);
        std::size_t at = start;
        while (entries[at].index != start) {
            strings[at] = std::move(strings[entries[at].index]);
            placed[at] = true;
            at = entries[at].index;
        }
        strings[at] = std::move(first);
        placed[at] = true;
    }
    return strings;
}

} // namespace orvel::DisplayOrder
