#include "engine/apps/StringTranslation.h"

#include <algorithm>

#include "core/Hash.h"

namespace orvel {

bool StringTranslation::isEmpty() const {
    if (text && !text->empty())
        return false;
    if (!plural)
        return true;
    return std::all_of(plural->begin(), plural->end(), [](const auto& form) { return form.second.empty(); });
}

std::string StringTranslation::displayText() const {
    if (text)
        return *text;
    if (!plural || plural->empty())
        return {};
    if (auto other = plural->find("other"); other != plural->end())
        return other->second;
    return plural->begin()->second;
}

StringTranslation StringTranslation::fromJson(const json::Json& value) {
    StringTranslation translation;
    translation.text = json::optional<std::string>(value, "text");
    translation.plural = json::optional<std::map<std::string, std::string>>(value, "plural");
    translation.origin = json::required<Origin>(value, "origin");
    translation.model = json::optional<std::string>(value, "model");
    translation.source = json::required<std::string>(value, "source");
    translation.updated = json::required<Date>(value, "updated");
    return translation;
}

json::Json StringTranslation::toJson() const {
    json::Json out = json::Json::object();
    json::set(out, "text", text);
    json::set(out, "plural", plural);
    json::set(out, "origin", origin);
    json::set(out, "model", model);
    json::set(out, "source", source);
    json::set(out, "updated", updated);
    return out;
}

void StringTranslation::write(PrettyJsonWriter& writer) const {
    // The keys in the order the tree keeps them.
    writer.beginObject();
    writer.memberIfPresent("model", model);
    writer.member("origin", rawValue(origin));
    if (plural) {
        writer.key("plural");
        writer.textMap(*plural);
    }
    writer.member("source", source);
    writer.memberIfPresent("text", text);
    writer.member("updated", Dates::iso8601(updated));
    writer.endObject();
}

std::string_view rawValue(StringTranslation::Origin origin) {
    switch (origin) {
    case StringTranslation::Origin::model:
        return "model";
    case StringTranslation::Origin::person:
        return "person";
    }
    return {};
}

std::optional<StringTranslation::Origin> originFromRawValue(std::string_view raw) {
    for (auto origin : {StringTranslation::Origin::model, StringTranslation::Origin::person})
        if (rawValue(origin) == raw)
            return origin;
    return std::nullopt;
}

namespace json {

StringTranslation::Origin Coder<StringTranslation::Origin>::decode(const Json& value) {
    const std::string raw = json::decode<std::string>(value);
    if (auto origin = originFromRawValue(raw))
        return *origin;
    throw DecodingError("Cannot initialize Origin from invalid String value " + raw);
}

} // namespace json
} // namespace orvel

std::size_t
std::hash<orvel::StringTranslation>::operator()(const orvel::StringTranslation& t) const noexcept {
    std::size_t seed = 0;
    orvel::hashCombine(seed, t.text);
    orvel::hashCombine(seed, t.plural.has_value());
    if (t.plural)
        for (const auto& [category, form] : *t.plural) {
            orvel::hashCombine(seed, category);
            orvel::hashCombine(seed, form);
        }
    orvel::hashCombine(seed, static_cast<int>(t.origin));
    orvel::hashCombine(seed, t.model);
    orvel::hashCombine(seed, t.source);
    orvel::hashCombine(seed, t.updated.time_since_epoch().count());
    return seed;
}
