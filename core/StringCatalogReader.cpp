#include "core/StringCatalogReader.h"

#include <cstdint>
#include <utility>

#include "core/QuickJsonReading.h"

namespace orvel::StringCatalogReader {
namespace {

using namespace QuickJson;

// The strict decoding counts the document itself as the first level and refuses structures below the
// 512th; the parser's depth counts the same way, so anything it refuses for depth is refused there too.
constexpr std::size_t maximumDepth = 512;

// Every decoder below writes into `out`, or, given none, only checks the value as strictly: the
// localizations a reading does not keep are checked without being built.

template <class T, class Decode> void assignRecord(std::optional<T>* field, element value, Decode decode) {
    if (value.is_null()) {
        if (field)
            field->reset();
        return;
    }
    if (!field)
        return decode(value, static_cast<T*>(nullptr));
    field->emplace();
    decode(value, &**field);
}

template <class T> auto fieldOf(T* out, auto T::*member) {
    return out ? &(out->*member) : nullptr;
}

// `keep` says which keys are kept; the others are only checked.
template <class T, class Decode, class Keep>
void decodeMap(element value, std::map<std::string, T>* out, Decode decode, Keep keep) {
    for (auto [key, child] : asObject(value)) {
        if (!out || !keep(key)) {
            decode(child, static_cast<T*>(nullptr));
            continue;
        }
        T& slot = (*out)[std::string(key)];
        slot = T{};
        decode(child, &slot);
    }
}

template <class T, class Decode> void decodeMap(element value, std::map<std::string, T>* out, Decode decode) {
    decodeMap(value, out, decode, [](std::string_view) { return true; });
}

void stringUnit(element value, StringCatalog::StringUnit* out) {
    bool hasValue = false;
    for (auto [key, child] : asObject(value)) {
        if (key == "state") {
            assignLeaf(fieldOf(out, &StringCatalog::StringUnit::state), child, asText);
        } else if (key == "value") {
            hasValue = !child.is_null();
            if (hasValue) {
                const std::string_view text = asText(child);
                if (out)
                    out->value = std::string(text);
            }
        }
    }
    if (!hasValue)
        throw Refused{};
}

void variation(element value, StringCatalog::Variation* out);

void variationMap(element value, std::map<std::string, StringCatalog::Variation>* out) {
    decodeMap(value, out, variation);
}

void variations(element value, StringCatalog::Variations* out) {
    for (auto [key, child] : asObject(value)) {
        if (key == "plural")
            assignRecord(fieldOf(out, &StringCatalog::Variations::plural), child, variationMap);
        else if (key == "device")
            assignRecord(fieldOf(out, &StringCatalog::Variations::device), child, variationMap);
    }
}

void variation(element value, StringCatalog::Variation* out) {
    for (auto [key, child] : asObject(value)) {
        if (key == "stringUnit")
            assignRecord(fieldOf(out, &StringCatalog::Variation::stringUnit), child, stringUnit);
        else if (key == "variations")
            assignRecord(fieldOf(out, &StringCatalog::Variation::variations), child, variations);
    }
}

void substitution(element value, StringCatalog::Substitution* out) {
    for (auto [key, child] : asObject(value)) {
        if (key == "argNum")
            assignLeaf(fieldOf(out, &StringCatalog::Substitution::argNum), child, asInteger);
        else if (key == "formatSpecifier")
            assignLeaf(fieldOf(out, &StringCatalog::Substitution::formatSpecifier), child, asText);
        else if (key == "variations")
            assignRecord(fieldOf(out, &StringCatalog::Substitution::variations), child, variations);
    }
}

void substitutions(element value, std::map<std::string, StringCatalog::Substitution>* out) {
    decodeMap(value, out, substitution);
}

void localization(element value, StringCatalog::Localization* out) {
    for (auto [key, child] : asObject(value)) {
        if (key == "stringUnit")
            assignRecord(fieldOf(out, &StringCatalog::Localization::stringUnit), child, stringUnit);
        else if (key == "variations")
            assignRecord(fieldOf(out, &StringCatalog::Localization::variations), child, variations);
        else if (key == "substitutions")
            assignRecord(fieldOf(out, &StringCatalog::Localization::substitutions), child, substitutions);
    }
}

// The language whose localizations are kept; none keeps all.
using KeptLanguage = std::optional<std::string_view>;

void entry(element value, StringCatalog::Entry* out, KeptLanguage kept) {
    const auto localizations = [kept](element v, std::map<std::string, StringCatalog::Localization>* map) {
        decodeMap(v, map, localization,
                  [kept](std::string_view language) { return !kept || language == *kept; });
    };
    for (auto [key, child] : asObject(value)) {
        if (key == "comment")
            assignLeaf(fieldOf(out, &StringCatalog::Entry::comment), child, asText);
        else if (key == "isCommentAutoGenerated")
            assignLeaf(fieldOf(out, &StringCatalog::Entry::isCommentAutoGenerated), child, asBool);
        else if (key == "extractionState")
            assignLeaf(fieldOf(out, &StringCatalog::Entry::extractionState), child, asText);
        else if (key == "shouldTranslate")
            assignLeaf(fieldOf(out, &StringCatalog::Entry::shouldTranslate), child, asBool);
        else if (key == "localizations")
            assignRecord(fieldOf(out, &StringCatalog::Entry::localizations), child, localizations);
    }
}

// The source language as the decoding ends up with it: the last value given.
KeptLanguage lastSourceLanguage(object document) {
    KeptLanguage language;
    for (auto [key, child] : document)
        if (key == "sourceLanguage")
            language = child.is_null() ? KeptLanguage{} : KeptLanguage{asText(child)};
    return language;
}

StringCatalog catalog(element value, StringCatalog::Languages languages) {
    const object document = asObject(value);
    const KeptLanguage kept =
        languages == StringCatalog::Languages::source ? lastSourceLanguage(document) : KeptLanguage{};
    StringCatalog out;
    bool hasSourceLanguage = false;
    bool hasStrings = false;
    for (auto [key, child] : document) {
        if (key == "sourceLanguage") {
            assignRequired(out.sourceLanguage, hasSourceLanguage, child, asText);
        } else if (key == "version") {
            assignLeaf(&out.version, child, asText);
        } else if (key == "strings") {
            hasStrings = !child.is_null();
            if (hasStrings) {
                out.strings.clear();
                decodeMap(child, &out.strings,
                          [kept](element v, StringCatalog::Entry* entryOut) { entry(v, entryOut, kept); });
            }
        }
    }
    if (!hasSourceLanguage || !hasStrings)
        throw Refused{};
    return out;
}

} // namespace

std::optional<StringCatalog> quickDecode(std::string_view text, StringCatalog::Languages languages,
                                         std::size_t readableAfter) {
    simdjson::dom::parser parser(simdjson::SIMDJSON_MAXSIZE_BYTES);
    const std::optional<element> document = QuickJson::parse(parser, text, maximumDepth, readableAfter);
    if (!document)
        return std::nullopt;
    try {
        return catalog(*document, languages);
    } catch (const Refused&) {
        return std::nullopt;
    }
}

} // namespace orvel::StringCatalogReader
