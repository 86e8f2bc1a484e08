#include "engine/model/LanguageNotes.h"

#include <algorithm>

#include "core/Locked.h"
#include "core/Regex.h"
#include "core/Unicode.h"
#include "engine/model/LanguageNotesFile.h"
#include "engine/pipeline/Normalizer.h"

namespace orvel {
namespace {

using CachedNotes = std::shared_ptr<const LanguageNotes>;

// Every code asked for, also the ones without notes; lookups and stores only, never file reads.
Locked<std::map<std::string, CachedNotes, std::less<>>>& cache() {
    static Locked<std::map<std::string, CachedNotes, std::less<>>> instance;
    return instance;
}

const std::vector<std::string>& firstNonEmpty(const std::vector<std::string>& preferred,
                                              const std::vector<std::string>& fallback) {
    return preferred.empty() ? fallback : preferred;
}

// Entries of both maps; the preferred word on a key in both.
LanguageNotes::TermMap combined(const LanguageNotes::TermMap& preferred,
                                const LanguageNotes::TermMap& other) {
    LanguageNotes::TermMap out = preferred;
    out.insert(other.begin(), other.end());
    return out;
}

LanguageNotes::TermMap overlaid(const LanguageNotes::TermMap& base, const LanguageNotes::TermMap& over) {
    LanguageNotes::TermMap out = base;
    for (const auto& [term, word] : over)
        out.insert_or_assign(term, word);
    return out;
}

std::optional<regex::Match> searchCaseInsensitive(std::string_view pattern, std::string_view text) {
    const auto compiled = RegexCache::regex(pattern, true);
    if (!compiled)
        return std::nullopt;
    return regex::firstMatch(*compiled, text);
}

CachedNotes computeNotes(std::string_view code) {
    const LanguageNotes* builtIn = LanguageNotes::builtIn(code);
    auto file = LanguageNotes::File::load(code);
    if (!file)
        return builtIn ? std::make_shared<const LanguageNotes>(*builtIn) : nullptr;
    if (!builtIn)
        return std::make_shared<const LanguageNotes>(std::move(*file));
    return std::make_shared<const LanguageNotes>(builtIn->merge(*file));
}

} // namespace

const LanguageNotes* LanguageNotes::builtIn(std::string_view code) {
    const auto parts = Normalizer::codeParts(code);
    const std::string base = parts.empty() ? std::string(code) : text::lowercased(parts.front());
    const auto& table = builtIn();
    // Only "-" separates the region here: "pt_PT" is read as Brazilian like any other region of "pt".
    const auto entry = text::lowercased(code) == "pt-pt" ? table.find("pt-PT") : table.find(base);
    return entry == table.end() ? nullptr : &entry->second;
}

std::shared_ptr<const LanguageNotes> LanguageNotes::notes(std::string_view code) {
    const auto cached = cache().withLock([&](auto& entries) -> std::optional<CachedNotes> {
        if (auto entry = entries.find(code); entry != entries.end())
            return entry->second;
        return std::nullopt;
    });
    if (cached)
        return *cached;
    // Computed without the lock: two threads asking for one new code both compute the same notes.
    auto result = computeNotes(code);
    cache().withLock([&](auto& entries) { entries.insert_or_assign(std::string(code), result); });
    return result;
}

void LanguageNotes::clearCacheForTesting() {
    cache().withLock([](auto& entries) { entries.clear(); });
}

std::vector<std::string> LanguageNotes::lines(const TranslationStyle& style) const {
    const auto& treatment = style.terms == TranslationStyle::Terms::translateAll ? translateAll : keepCommon;
    const auto& address = style.address == TranslationStyle::Address::formal ? formal : informal;
    std::vector<std::string> out = always;
    out.insert(out.end(), treatment.begin(), treatment.end());
    out.insert(out.end(), address.begin(), address.end());
    return out;
}

LanguageNotes::TermMap LanguageNotes::fixedTerms(const TranslationStyle& style) const {
    return overlaid(terms, style.terms == TranslationStyle::Terms::translateAll ? translateAllTerms
                                                                                : keepCommonTerms);
}

LanguageNotes LanguageNotes::merge(const LanguageNotes& file) const {
    LanguageNotes merged{
        firstNonEmpty(always, file.always),
        firstNonEmpty(keepCommon, file.keepCommon),
        firstNonEmpty(translateAll, file.translateAll),
        firstNonEmpty(informal, file.informal),
        firstNonEmpty(formal, file.formal),
        combined(terms, file.terms),
        combined(keepCommonTerms, file.keepCommonTerms),
        combined(translateAllTerms, file.translateAllTerms),
        avoid,
        quotes ? quotes : file.quotes,
    };
    for (const auto& rule : file.avoid) {
        const bool repeatsBuiltIn = std::ranges::any_of(
            avoid, [&](const Avoid& builtInRule) { return builtInRule.pattern == rule.pattern; });
        if (!repeatsBuiltIn)
            merged.avoid.push_back(rule);
    }
    return merged;
}

std::optional<LanguageNotes::Match> LanguageNotes::firstMatch(std::string_view text,
                                                              std::optional<std::string_view> source) const {
    for (const auto& rule : avoid) {
        if (rule.source && source && !searchCaseInsensitive(*rule.source, *source))
            continue;
        if (auto match = searchCaseInsensitive(rule.pattern, text))
            return Match{rule.advice, std::string(match->text(text))};
    }
    return std::nullopt;
}

std::optional<std::string> LanguageNotes::firstAdvice(std::string_view text,
                                                      std::optional<std::string_view> source) const {
    auto match = firstMatch(text, source);
    return match ? std::optional(std::move(match->advice)) : std::nullopt;
}

} // namespace orvel
