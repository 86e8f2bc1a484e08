#pragma once
// The person's choice of tone for one app in one language.

#include <array>
#include <optional>
#include <string_view>

#include "core/Json.h"

namespace orvel {

struct TranslationStyle {
    // How far English computer words are translated.
    enum class Terms { keepCommon, translateAll };
    // The form of address of the reader.
    enum class Address { informal, formal };

    static constexpr std::array allTerms{Terms::keepCommon, Terms::translateAll};
    static constexpr std::array allAddresses{Address::informal, Address::formal};

    Terms terms = Terms::keepCommon;
    Address address = Address::informal;

    bool operator==(const TranslationStyle&) const = default;

    static TranslationStyle fromJson(const json::Json& value);
    json::Json toJson() const;
};

std::string_view rawValue(TranslationStyle::Terms terms);
std::string_view rawValue(TranslationStyle::Address address);

// Exact, case-sensitive matches of the raw values; anything else gives nothing.
std::optional<TranslationStyle::Terms> termsFromRawValue(std::string_view raw);
std::optional<TranslationStyle::Address> addressFromRawValue(std::string_view raw);

namespace json {

template <> struct Coder<TranslationStyle::Terms> {
    static TranslationStyle::Terms decode(const Json& value);
    static Json encode(TranslationStyle::Terms value) { return std::string(rawValue(value)); }
};

template <> struct Coder<TranslationStyle::Address> {
    static TranslationStyle::Address decode(const Json& value);
    static Json encode(TranslationStyle::Address value) { return std::string(rawValue(value)); }
};

} // namespace json
} // namespace orvel
