#pragma once
// One translated string of a target app and where it came from.

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "core/Date.h"
#include "core/Json.h"
#include "core/PrettyJsonWriter.h"

namespace orvel {

struct StringTranslation {
    // Who wrote the translation.
    enum class Origin { model, person };

    // The translation of a string without plural forms.
    std::optional<std::string> text;
    // Plural category to the translated form.
    std::optional<std::map<std::string, std::string>> plural;
    Origin origin = Origin::model;
    // The model that produced it, for translations of the model.
    std::optional<std::string> model;
    // The English the translation was made from; a translation of other English than the app now shows
    // is stale.
    std::string source;
    Date updated{};

    // No text with characters and no plural form with characters.
    bool isEmpty() const;
    // What lists and review requests show: the text when present (even empty), else the "other" form,
    // else any form, else the empty text.
    std::string displayText() const;

    static StringTranslation fromJson(const json::Json& value);
    json::Json toJson() const;
    // The same object as toJson, written straight into a file's text.
    void write(PrettyJsonWriter& writer) const;
    bool operator==(const StringTranslation&) const = default;
};

std::string_view rawValue(StringTranslation::Origin origin);
// Exact, case-sensitive match of the raw values; anything else gives nothing.
std::optional<StringTranslation::Origin> originFromRawValue(std::string_view raw);

namespace json {

template <> struct Coder<StringTranslation::Origin> {
    static StringTranslation::Origin decode(const Json& value);
    static Json encode(StringTranslation::Origin value) { return std::string(rawValue(value)); }
};

} // namespace json
} // namespace orvel

template <> struct std::hash<orvel::StringTranslation> {
    std::size_t operator()(const orvel::StringTranslation& translation) const noexcept;
};
