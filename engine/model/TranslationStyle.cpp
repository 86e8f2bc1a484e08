#include "engine/model/TranslationStyle.h"

#include "core/RawValues.h"

namespace orvel {

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
