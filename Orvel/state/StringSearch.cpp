#include "Orvel/state/StringSearch.h"

#include "core/DiacriticFolding.h"
#include "core/ScalarTrimming.h"

namespace orvel::StringSearch {

std::optional<std::string> needle(std::string_view search) {
    const std::string_view trimmed = text::trimmedScalars(search, text::isInlineWhitespace);
    if (trimmed.empty())
        return std::nullopt;
    return folded(trimmed);
}

std::string folded(std::string_view text) {
    return text::foldedCaseDiacriticsAndWidth(text);
}

} // namespace orvel::StringSearch
