#include "engine/apps/ProjectReader.h"

#include <map>
#include <string>

#include "core/Date.h"
#include "core/QuickJsonReading.h"

namespace orvel::ProjectReader {
namespace {

using namespace QuickJson;
using TextMap = std::map<std::string, std::string>;

// A project is a few levels deep; anything deeper lies in keys the decoding ignores, and is left to it.
constexpr std::size_t maximumDepth = 64;

TextMap textMap(element value) {
    TextMap out;
    for (auto [key, child] : asObject(value))
        out.insert_or_assign(std::string(key), std::string(asText(child)));
    return out;
}

// A raw value the strict decoding knows, else refused.
template <class T, class FromRaw> T rawValued(element value, FromRaw fromRaw) {
    const std::optional<T> decoded = fromRaw(asText(value));
    if (!decoded)
        throw Refused{};
    return *decoded;
}

// A required field that is missing or ends null is refused.
void require(bool present) {
    if (!present)
        throw Refused{};
}

StringTranslation translation(element value) {
    StringTranslation out;
    bool hasOrigin = false, hasSource = false, hasUpdated = false;
    for (auto [key, child] : asObject(value)) {
        if (key == "text") {
            assignLeaf(&out.text, child, asText);
        } else if (key == "plural") {
            out.plural.reset();
            if (!child.is_null())
                out.plural = textMap(child);
        } else if (key == "origin") {
            assignRequired(out.origin, hasOrigin, child, [](element v) {
                return rawValued<StringTranslation::Origin>(v, originFromRawValue);
            });
        } else if (key == "model") {
            assignLeaf(&out.model, child, asText);
        } else if (key == "source") {
            assignRequired(out.source, hasSource, child, asText);
        } else if (key == "updated") {
            assignRequired(out.updated, hasUpdated, child,
                           [](element v) { return rawValued<Date>(v, Dates::parseIso8601); });
        }
    }
    require(hasOrigin && hasSource && hasUpdated);
    return out;
}

std::map<std::string, StringTranslation> translations(element value) {
    std::map<std::string, StringTranslation> out;
    for (auto [key, child] : asObject(value))
        out.insert_or_assign(std::string(key), translation(child));
    return out;
}

TranslationStyle style(element value) {
    TranslationStyle out;
    bool hasTerms = false, hasAddress = false;
    for (auto [key, child] : asObject(value)) {
        if (key == "terms") {
            assignRequired(out.terms, hasTerms, child, [](element v) {
                return rawValued<TranslationStyle::Terms>(v, termsFromRawValue);
            });
        } else if (key == "address") {
            assignRequired(out.address, hasAddress, child, [](element v) {
                return rawValued<TranslationStyle::Address>(v, addressFromRawValue);
            });
        }
    }
    require(hasTerms && hasAddress);
    return out;
}

// An optional field whose absence or null gives its empty value.
template <class T, class Decode> void assignOrEmpty(T& field, element value, Decode decode) {
    field = value.is_null() ? T{} : decode(value);
}

TranslationProject project(element value) {
    TranslationProject out;
    bool hasApp = false, hasLanguage = false;
    for (auto [key, child] : asObject(value)) {
        if (key == "app") {
            assignRequired(out.app, hasApp, child, asText);
        } else if (key == "language") {
            assignRequired(out.language, hasLanguage, child, asText);
        } else if (key == "translations") {
            assignOrEmpty(out.translations, child, translations);
        } else if (key == "style") {
            assignOrEmpty(out.style, child, style);
        } else if (key == "terms") {
            assignOrEmpty(out.terms, child, textMap);
        } else if (key == "sourceText") {
            out.sourceText.reset();
            if (!child.is_null())
                out.sourceText = textMap(child);
        } else if (key == "appVersion") {
            assignLeaf(&out.appVersion, child, asText);
        } else if (key == "retired") {
            assignOrEmpty(out.retired, child, translations);
        }
    }
    require(hasApp && hasLanguage);
    return out;
}

} // namespace

std::optional<TranslationProject> quickDecode(std::string_view text) {
    simdjson::dom::parser parser(simdjson::SIMDJSON_MAXSIZE_BYTES);
    const std::optional<element> document = QuickJson::parse(parser, text, maximumDepth);
    if (!document)
        return std::nullopt;
    try {
        return project(*document);
    } catch (const Refused&) {
        return std::nullopt;
    }
}

} // namespace orvel::ProjectReader
