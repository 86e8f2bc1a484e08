#include "engine/pipeline/ValidationLists.h"

#include <algorithm>
#include <ranges>

#include "core/FormatSpecifiers.h"
#include "core/Regex.h"
#include "core/RegexCache.h"
#include "core/TextPieces.h"
#include "core/TextReplacing.h"
#include "core/Unicode.h"

namespace orvel::Validation {

std::vector<std::string> variables(std::string_view text, std::string_view pattern) {
    std::vector<std::string> found;
    const CompiledRegex compiled = RegexCache::regex(pattern);
    if (!compiled)
        return found;
    for (const auto& match : regex::allMatches(*compiled, text))
        found.emplace_back(match.text(text));
    std::sort(found.begin(), found.end());
    return found;
}

std::vector<std::string> placeholderTypes(std::string_view text) {
    std::vector<std::string> types;
    for (auto& specifier : FormatSpecifiers::parse(text))
        types.push_back(std::move(specifier.type));
    std::sort(types.begin(), types.end());
    return types;
}

std::size_t lonePercentCount(std::string_view text) {
    const std::string withoutDoubled = text::replacingAll(text, "%%", "");
    // The text between the placeholders, copied front to back: erasing each one in place would move the
    // rest of a long text once per placeholder.
    std::string rest;
    std::size_t copied = 0;
    for (const auto& specifier : FormatSpecifiers::parse(withoutDoubled)) {
        rest.append(withoutDoubled, copied, specifier.range.start - copied);
        copied = specifier.range.end;
    }
    rest.append(withoutDoubled, copied);
    // A "%" that carries a combining mark is another character, as the placeholder parser sees it.
    return static_cast<std::size_t>(std::ranges::count(text::graphemes(rest), std::string_view("%")));
}

std::string placeholderList(std::string_view text) {
    std::vector<std::string> raws;
    for (auto& specifier : FormatSpecifiers::parse(text))
        raws.push_back(std::move(specifier.raw));
    return raws.empty() ? std::string("(none)") : text::joined(raws, " ");
}

} // namespace orvel::Validation
