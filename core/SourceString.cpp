#include "core/SourceString.h"

#include <algorithm>

#include "core/FormatSpecifiers.h"
#include "core/Hash.h"
#include "core/StringCatalog.h"
#include "core/Unicode.h"

namespace orvel {
namespace {

// Placeholders are not words: "%lld" or "%1$@" alone leaves nothing to translate.
bool holdsWords(const std::string& text) {
    std::string remainder;
    std::size_t at = 0;
    for (const auto& specifier : FormatSpecifiers::parse(text)) {
        remainder.append(text, at, specifier.range.start - at);
        remainder.push_back(' ');
        at = specifier.range.end;
    }
    remainder.append(text, at);
    return text::containsLetter(remainder);
}

std::optional<std::map<std::string, std::string>> pluralForms(const StringCatalog::Localization& source) {
    if (!source.variations || !source.variations->plural)
        return std::nullopt;
    std::map<std::string, std::string> forms;
    for (const auto& [category, variation] : *source.variations->plural)
        if (variation.stringUnit)
            forms[category] = variation.stringUnit->value;
    return forms;
}

std::optional<SourceString> extractEntry(const StringCatalog& catalog, const std::string& table,
                                         const std::string& key, const StringCatalog::Entry& entry) {
    if (key.empty() || entry.extractionState == "stale")
        return std::nullopt;
    const StringCatalog::Localization* source = nullptr;
    if (entry.localizations)
        if (auto it = entry.localizations->find(catalog.sourceLanguage); it != entry.localizations->end())
            source = &it->second;

    SourceString result;
    result.table = table;
    result.key = key;
    if (source)
        result.plural = pluralForms(*source);
    if (source && source->stringUnit)
        result.text = source->stringUnit->value;
    else if (result.plural && result.plural->contains("other"))
        result.text = result.plural->at("other");
    else
        result.text = key;
    result.comment = entry.comment;
    result.translate = entry.shouldTranslate != false && holdsWords(result.text);
    result.discovered = false;
    return result;
}

} // namespace

std::string SourceString::id(std::string_view table, std::string_view key) {
    std::string out;
    out.reserve(table.size() + key.size() + 1);
    out.append(table);
    out.push_back(idSeparator);
    out.append(key);
    return out;
}

std::pair<std::string_view, std::string_view> SourceString::splitId(std::string_view id) {
    const auto at = id.find(idSeparator);
    if (at == std::string_view::npos)
        return {std::string_view(), id};
    return {id.substr(0, at), id.substr(at + 1)};
}

std::vector<SourceString> SourceString::extract(const StringCatalog& catalog, const std::string& table) {
    std::vector<std::pair<std::string, SourceString>> keyed;
    keyed.reserve(catalog.strings.size());
    for (const auto& [key, entry] : catalog.strings)
        if (auto extracted = extractEntry(catalog, table, key, entry))
            keyed.emplace_back(text::localizedStandardSortKey(key), std::move(*extracted));
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<SourceString> result;
    result.reserve(keyed.size());
    for (auto& [sortKey, string] : keyed)
        result.push_back(std::move(string));
    return result;
}

SourceString SourceString::fromJson(const json::Json& value) {
    SourceString s;
    s.table = json::required<std::string>(value, "table");
    s.key = json::required<std::string>(value, "key");
    s.text = json::required<std::string>(value, "text");
    s.plural = json::optional<std::map<std::string, std::string>>(value, "plural");
    s.comment = json::optional<std::string>(value, "comment");
    s.translate = json::required<bool>(value, "translate");
    s.discovered = json::required<bool>(value, "discovered");
    return s;
}

json::Json SourceString::toJson() const {
    json::Json out = json::Json::object();
    json::set(out, "table", table);
    json::set(out, "key", key);
    json::set(out, "text", text);
    json::set(out, "plural", plural);
    json::set(out, "comment", comment);
    json::set(out, "translate", translate);
    json::set(out, "discovered", discovered);
    return out;
}

} // namespace orvel

std::size_t std::hash<orvel::SourceString>::operator()(const orvel::SourceString& s) const noexcept {
    std::size_t seed = 0;
    orvel::hashCombine(seed, s.table);
    orvel::hashCombine(seed, s.key);
    orvel::hashCombine(seed, s.text);
    orvel::hashCombine(seed, s.plural.has_value());
    if (s.plural)
        for (const auto& [category, form] : *s.plural) {
            orvel::hashCombine(seed, category);
            orvel::hashCombine(seed, form);
        }
    orvel::hashCombine(seed, s.comment.has_value());
    orvel::hashCombine(seed, s.comment.value_or(std::string()));
    orvel::hashCombine(seed, s.translate);
    orvel::hashCombine(seed, s.discovered);
    return seed;
}
