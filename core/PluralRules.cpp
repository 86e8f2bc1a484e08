#include "core/PluralRules.h"

#include <algorithm>
#include <map>
#include <mutex>

#include "core/PluralNumbers.h"
#include "core/PluralRulesKey.h"
#include "core/Unicode.h"

namespace orvel::PluralRules {
namespace {

using Categories = std::vector<std::string>;

const std::map<std::string, Categories, std::less<>>& table() {
    static const auto rows = [] {
        std::map<std::string, Categories, std::less<>> out;
        auto add = [&out](std::initializer_list<const char*> codes, const Categories& categories) {
            for (const char* code : codes)
                out.emplace(code, categories);
        };
        add({"ja", "zh", "ko", "vi", "th", "id", "ms", "my", "km", "lo", "yue", "jv", "su", "bo", "dz", "to",
             "wo", "yo", "ig"},
            {"other"});
        add({"ro", "mo", "hr", "sr", "bs", "cs", "sk", "lt"}, {"one", "few", "other"});
        add({"ru", "uk", "be", "pl"}, {"one", "few", "many", "other"});
        add({"sl"}, {"one", "two", "few", "other"});
        add({"lv"}, {"zero", "one", "other"});
        add({"ar", "cy"}, {"zero", "one", "two", "few", "many", "other"});
        add({"ga", "mt"}, {"one", "two", "few", "many", "other"});
        add({"he"}, {"one", "two", "other"});
        add({"fr", "es", "it", "pt", "ca"}, {"one", "many", "other"});
        return out;
    }();
    return rows;
}

// The categories that the locale data's rules choose for some whole number, and "other", which every
// plural has: Czech "many" is for fractions alone, and a count never needs its form.
const Categories& localeDataCategories(const std::string& key) {
    static std::mutex lock;
    static std::map<std::string, Categories, std::less<>> known;
    const std::lock_guard guard(lock);
    if (const auto it = known.find(key); it != known.end())
        return it->second;
    Categories counted;
    for (const auto& category : allCategories()) {
        const auto numbers = PluralNumbers::wholeNumbers(key, category, 1);
        if (category == "other" || (numbers && !numbers->runs.empty()))
            counted.push_back(category);
    }
    return known.emplace(key, std::move(counted)).first->second;
}

} // namespace

std::string baseCode(std::string_view code) {
    std::size_t start = 0;
    while (start < code.size()) {
        const std::size_t end = code.find_first_of("-_", start);
        const std::string_view piece = code.substr(start, end == std::string_view::npos ? end : end - start);
        if (!piece.empty())
            return text::lowercased(piece);
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return std::string(code);
}

const std::vector<std::string>& allCategories() {
    static const Categories all{"zero", "one", "two", "few", "many", "other"};
    return all;
}

const std::vector<std::string>& categories(std::string_view code) {
    static const Categories fallback{"one", "other"};
    if (const auto key = rulesKey(code))
        return localeDataCategories(*key);
    const auto& rows = table();
    auto it = rows.find(baseCode(code));
    return it == rows.end() ? fallback : it->second;
}

std::size_t canonicalIndex(std::string_view category) {
    const auto& all = allCategories();
    return static_cast<std::size_t>(std::find(all.begin(), all.end(), category) - all.begin());
}

} // namespace orvel::PluralRules
