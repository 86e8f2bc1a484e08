#include "engine/pipeline/Normalizer.h"

#include "core/FormatSpecifiers.h"
#include "core/TextReplacing.h"
#include "core/Unicode.h"
#include "engine/pipeline/ValidationLists.h"

namespace orvel::Normalizer {
namespace {

// Every literal percent sign doubled; placeholders and signs already doubled are kept as written.
std::string doubledPercentSigns(std::string_view text) {
    const auto specifiers = FormatSpecifiers::parse(text);
    auto specifier = specifiers.begin();
    const auto characters = text::graphemes(text);
    std::string out;
    out.reserve(text.size() + 4);
    for (std::size_t i = 0; i < characters.size(); ++i) {
        const std::string_view character = characters[i];
        if (character != "%") {
            out.append(character);
            continue;
        }
        if (i + 1 < characters.size() && characters[i + 1] == "%") {
            out.append("%%");
            ++i;
            continue;
        }
        const auto at = static_cast<std::size_t>(character.data() - text.data());
        while (specifier != specifiers.end() && specifier->range.start < at)
            ++specifier;
        if (specifier == specifiers.end() || specifier->range.start != at) {
            out.append("%%");
            continue;
        }
        out.append(specifier->raw);
        while (i + 1 < characters.size() &&
               static_cast<std::size_t>(characters[i + 1].data() - text.data()) < specifier->range.end)
            ++i;
        // A mark that combines with the placeholder's last character is no part of the placeholder
        // but must not be lost with it.
        const std::string_view last = characters[i];
        const auto lastEnd = static_cast<std::size_t>(last.data() - text.data()) + last.size();
        if (lastEnd > specifier->range.end)
            out.append(text.substr(specifier->range.end, lastEnd - specifier->range.end));
    }
    return out;
}

} // namespace

std::string percentSigns(std::string_view text, std::string_view source) {
    if (FormatSpecifiers::parse(source).empty() && source.find("%%") == std::string_view::npos)
        return text::replacingAll(text, "%%", "%");
    // The source writes a literal percent sign single somewhere: its style cannot be told.
    if (Validation::lonePercentCount(source) > 0)
        return std::string(text);
    return doubledPercentSigns(text);
}

} // namespace orvel::Normalizer
