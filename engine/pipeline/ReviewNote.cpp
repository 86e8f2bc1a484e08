#include "engine/pipeline/ReviewNote.h"

#include <algorithm>
#include <vector>

#include "core/PluralRules.h"
#include "core/TextPieces.h"

namespace orvel {

std::string ReviewNote::summary(const StringTranslation& translation) {
    if (!translation.plural)
        return translation.text.value_or("");
    std::vector<std::pair<std::string, std::string>> forms(translation.plural->begin(),
                                                           translation.plural->end());
    std::stable_sort(forms.begin(), forms.end(), [](const auto& a, const auto& b) {
        return PluralRules::canonicalIndex(a.first) < PluralRules::canonicalIndex(b.first);
    });
    std::vector<std::string> lines;
    for (const auto& [category, form] : forms)
        lines.push_back(category + ": " + form);
    return text::joined(lines, " | ");
}

} // namespace orvel
