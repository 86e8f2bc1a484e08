#include "engine/pipeline/Normalizer.h"

#include "core/Regex.h"
#include "core/RegexCache.h"

namespace orvel::Normalizer {
namespace {

// An opening mark, optional white space, the shortest quoted run without marks or line feeds, optional
// white space, a closing mark.
constexpr std::string_view quotationPattern =
    "[\u201C\"\u201E\u00AB]\\s?([^\u201C\u201D\"\u201E\u00AB\u00BB\\n]+?)\\s?[\u201D\"\u201C\u00BB]";

// A quotation holding one of these is code (a path, a variable, markup) whose quotes must stay.
constexpr std::string_view codeCharacters = "$/\\={}<>|`";

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

} // namespace

std::string quotes(std::string_view text, std::string_view source, std::string_view open,
                   std::string_view close) {
    if (!contains(source, "\u201C") && !contains(source, "\""))
        return std::string(text);
    // Marks missing from the language's notes would strip the quotation marks from the translation.
    if (open.empty() || close.empty())
        return std::string(text);
    if (contains(text, open) && contains(text, close))
        return std::string(text);
    const CompiledRegex pattern = RegexCache::regex(quotationPattern);
    if (!pattern)
        return std::string(text);

    // Built front to back: replacing in place from the end would move the rest of a long answer once
    // per quotation.
    std::string out;
    out.reserve(text.size());
    std::size_t copied = 0;
    for (const regex::Match& match : regex::allMatches(*pattern, text)) {
        const auto quoted = match.group(text, 1);
        if (!quoted || quoted->find_first_of(codeCharacters) != std::string_view::npos)
            continue;
        out.append(text.substr(copied, match.range.start - copied))
            .append(open)
            .append(*quoted)
            .append(close);
        copied = match.range.end;
    }
    out.append(text.substr(copied));
    return out;
}

} // namespace orvel::Normalizer
