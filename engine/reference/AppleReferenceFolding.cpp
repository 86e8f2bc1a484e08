// The folding of English texts into lookup keys, and the language codes of the system's localizations.

#include <array>
#include <utility>

#include "core/Characters.h"
#include "core/Regex.h"
#include "core/RegexCache.h"
#include "core/ScalarTrimming.h"
#include "core/TextPieces.h"
#include "core/TextReplacing.h"
#include "core/Unicode.h"
#include "engine/reference/AppleReference.h"

namespace orvel {
namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 6> britishSpellings{{
    {"colour", "color"},
    {"behaviour", "behavior"},
    {"centre", "center"},
    {"licence", "license"},
    {"grey", "gray"},
    {"favourite", "favorite"},
}};

bool isTrailingMark(std::string_view character) {
    return character == "…" || character == "." || character == ":";
}

} // namespace

std::optional<std::string> AppleReference::normalizedLanguage(std::string_view code) {
    const std::string s = text::replacingAll(code, "-", "_");
    const std::string lower = text::lowercased(s);
    if (lower == "en" || lower == "en_us")
        return std::nullopt;
    if (lower == "pt")
        return "pt_BR";
    if (lower == "zh_hans" || lower == "zh")
        return "zh_CN";
    if (lower == "zh_hant")
        return "zh_TW";
    if (lower == "nb" || lower == "nn")
        return "no";
    return s;
}

std::string AppleReference::americanized(std::string_view text) {
    std::string folded = text::lowercased(text::trimmed(text));
    while (!folded.empty()) {
        const std::string_view last = text::lastCharacter(folded);
        if (!isTrailingMark(last))
            break;
        folded.resize(folded.size() - last.size());
    }
    folded = std::string(text::trimmedScalars(folded, text::isInlineWhitespace));
    for (const auto& [british, american] : britishSpellings)
        folded = text::replacingAll(folded, british, american);
    if (const CompiledRegex endings = RegexCache::regex(R"((\w)is(e|ed|es|ing|ation)\b)"))
        folded = regex::replaceAll(*endings, folded, "$1iz$2");
    return folded;
}

std::span<const AppleReference::Entry> AppleReference::entries(std::string_view text) const {
    return wordings(americanized(text));
}

std::optional<std::string> AppleReference::summary(std::string_view text, std::size_t limit) const {
    const auto found = entries(text);
    if (limit == 0 || found.empty())
        return std::nullopt;
    std::vector<std::string> pieces;
    for (const Entry& entry : found.first(std::min(limit, found.size())))
        pieces.push_back("«" + entry.text + "» (" + std::to_string(entry.count) + ")");
    return text::joined(pieces, ", ");
}

} // namespace orvel
