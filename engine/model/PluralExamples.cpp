#include "engine/model/PluralExamples.h"

#include <algorithm>
#include <array>

#include "core/PluralRules.h"
#include "core/TextPieces.h"

namespace orvel::PluralExamples {
namespace {

// In these languages "many" is the form of numbers such as 1 000 000: described, but never required.
constexpr std::array manyNotRequired{"fr", "es", "it", "pt", "ca"};

} // namespace

const Table& table() {
    static const Table rows = [] {
        Table out;
        auto add = [&out](std::initializer_list<const char*> codes,
                          std::initializer_list<std::pair<const std::string, std::string>> examples) {
            for (const char* code : codes)
                out.emplace(code, std::map<std::string, std::string, std::less<>>(examples));
        };
        add({"ro", "mo"}, {{"one", "1"}, {"few", "0, 2–19, 101–119"}, {"other", "20–100, 120 and up"}});
        add({"ru", "uk", "be"}, {{"one", "1, 21, 31"},
                                 {"few", "2–4, 22–24"},
                                 {"many", "0, 5–20, 25–30"},
                                 {"other", "fractions such as 1.5"}});
        add({"pl"}, {{"one", "1"},
                     {"few", "2–4, 22–24"},
                     {"many", "0, 5–21, 25–31"},
                     {"other", "fractions such as 1.5"}});
        add({"hr", "sr", "bs"}, {{"one", "1, 21, 31"}, {"few", "2–4, 22–24"}, {"other", "0, 5–20, 25–30"}});
        add({"cs", "sk"}, {{"one", "1"}, {"few", "2–4"}, {"other", "0, 5 and up"}});
        add({"lt"}, {{"one", "1, 21, 31"}, {"few", "2–9, 22–29"}, {"other", "0, 10–20, 30"}});
        add({"sl"}, {{"one", "1, 101"}, {"two", "2, 102"}, {"few", "3, 4, 103"}, {"other", "0, 5–100"}});
        add({"lv"}, {{"one", "1, 21, 31"}, {"other", "2–9, 22–29"}, {"zero", "0, 10–20, 30"}});
        add({"ar"}, {{"one", "1"},
                     {"two", "2"},
                     {"few", "3–10, 103–110"},
                     {"many", "11–99, 111"},
                     {"other", "100–102, 200"},
                     {"zero", "0"}});
        add({"cy"}, {{"one", "1"},
                     {"two", "2"},
                     {"few", "3"},
                     {"many", "6"},
                     {"other", "4, 5, 7 and up"},
                     {"zero", "0"}});
        add({"ga"},
            {{"one", "1"}, {"two", "2"}, {"few", "3–6"}, {"many", "7–10"}, {"other", "0, 11 and up"}});
        add({"mt"}, {{"one", "1"},
                     {"two", "2"},
                     {"few", "0, 3–10, 103"},
                     {"many", "11–19, 111"},
                     {"other", "20–100"}});
        add({"he"}, {{"one", "1"}, {"two", "2"}, {"other", "0, 3 and up"}});
        add({"fr", "pt"}, {{"one", "0, 1"}, {"many", "1 000 000"}, {"other", "2 and up"}});
        add({"es", "it", "ca"}, {{"one", "1"}, {"many", "1 000 000"}, {"other", "0, 2 and up"}});

        return out;
    }();
    return rows;
}

std::string baseCode(std::string_view code) {
    return PluralRules::baseCode(code);
}

std::vector<std::pair<std::string, std::string>> categories(std::string_view language) {
    const auto& languageCategories = PluralRules::categories(language);
    const auto row = table().find(baseCode(language));
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto& category : languageCategories) {
        if (row != table().end()) {
            const auto example = row->second.find(category);
            if (example != row->second.end()) {
                out.emplace_back(category, example->second);
                continue;
            }
        }
        if (languageCategories.size() == 1 && category == "other")
            out.emplace_back(category, "every number");
        else if (category == "one")
            out.emplace_back(category, "1");
        else
            out.emplace_back(category, "0, 2 and up");
    }
    return out;
}

std::string describe(std::string_view language, const std::optional<std::vector<std::string>>& keep) {
    std::vector<std::string> pieces;
    for (const auto& [category, examples] : categories(language)) {
        if (keep && std::find(keep->begin(), keep->end(), category) == keep->end())
            continue;
        pieces.push_back(category + " (" + examples + ")");
    }
    return text::joined(pieces, ", ");
}

std::vector<std::string> requiredCategories(std::string_view language) {
    std::vector<std::string> out = PluralRules::categories(language);
    const std::string base = baseCode(language);
    if (std::find(manyNotRequired.begin(), manyNotRequired.end(), base) != manyNotRequired.end())
        std::erase(out, "many");
    return out;
}

} // namespace orvel::PluralExamples
