#include "engine/model/TranslationStyle.h"

namespace orvel {
namespace {

template <class Enum, std::size_t N>
std::optional<Enum> fromRawValue(std::string_view raw, const std::array<Enum, N>& cases) {
    for (Enum value : cases)
        if (rawValue(value) == raw)
            return value;
    return std::nullopt;
}

template <class Enum, std::size_t N>
Enum decodeRawValue(const json::Json& value, const std::array<Enum, N>& cases, const char* typeName) {
    const std::string raw = json::decode<std::string>(value);
    if (auto decoded = fromRawValue(raw, cases))
        return *decoded;
    throw json::DecodingError(std::string("Cannot initialize ") + typeName + " from invalid String value " +
                              raw);
}

} // namespace

std::string_view rawValue(TranslationStyle::Terms terms) {
    switch (terms) {
    case TranslationStyle::Terms::keepCommon:
        return "keepCommon";
    case TranslationStyle::Terms::translateAll:
        return "translateAll";
    }
    return {};
}

std::string_view rawValue(TranslationStyle::Address address) {
    switch (address) {
    case TranslationStyle::Address::informal:
        return "informal";
    case TranslationStyle::Address::formal:
        return "formal";
    }
    return {};
}

std::optional<TranslationStyle::Terms> termsFromRawValue(std::string_view raw) {
    return fromRawValue(raw, TranslationStyle::allTerms);
}

std::optional<TranslationStyle::Address> addressFromRawValue(std::string_view raw) {
    return fromRawValue(raw, TranslationStyle::allAddresses);
}

TranslationStyle TranslationStyle::fromJson(const json::Json& value) {
    return TranslationStyle{json::required<Terms>(value, "terms"), json::required<Address>(value, "address")};
}

json::Json TranslationStyle::toJson() const {
    json::Json out = json::Json::object();
    json::set(out, "terms", terms);
    json::set(out, "address", address);
    return out;
}

namespace json {

TranslationStyle::Terms Coder<TranslationStyle::Terms>::decode(const Json& value) {
    return decodeRawValue(value, TranslationStyle::allTerms, "Terms");
}

TranslationStyle::Address Coder<TranslationStyle::Address>::decode(const Json& value) {
    return decodeRawValue(value, TranslationStyle::allAddresses, "Address");
}

} // namespace json
} // namespace orvel
