#include <gtest/gtest.h>

#include "engine/model/TranslationStyle.h"

using namespace orvel;

TEST(TranslationStyle, JsonRoundTrip) {
    const auto style =
        TranslationStyle::fromJson(json::parse(R"({"terms": "translateAll", "address": "formal"})"));
    EXPECT_EQ(style.terms, TranslationStyle::Terms::translateAll);
    EXPECT_EQ(style.address, TranslationStyle::Address::formal);
    EXPECT_EQ(style.toJson(), json::parse(R"({"terms": "translateAll", "address": "formal"})"));
    EXPECT_EQ(TranslationStyle::fromJson(TranslationStyle{}.toJson()), TranslationStyle{});
}

TEST(TranslationStyle, RawValuesAreExact) {
    EXPECT_EQ(termsFromRawValue("keepCommon"), TranslationStyle::Terms::keepCommon);
    EXPECT_EQ(addressFromRawValue("informal"), TranslationStyle::Address::informal);
    for (const char* raw : {"KeepCommon", "keepcommon", " formal", ""}) {
        EXPECT_EQ(termsFromRawValue(raw), std::nullopt) << raw;
        EXPECT_EQ(addressFromRawValue(raw), std::nullopt) << raw;
        EXPECT_THROW(json::decode<TranslationStyle::Terms>(json::Json(raw)), json::DecodingError) << raw;
        EXPECT_THROW(json::decode<TranslationStyle::Address>(json::Json(raw)), json::DecodingError) << raw;
    }
}

TEST(TranslationStyle, BothKeysAreRequired) {
    EXPECT_THROW(TranslationStyle::fromJson(json::parse(R"({"terms": "keepCommon"})")), json::DecodingError);
    EXPECT_THROW(TranslationStyle::fromJson(json::parse(R"({"address": "formal"})")), json::DecodingError);
    EXPECT_THROW(TranslationStyle::fromJson(json::parse(R"({"terms": 1, "address": "formal"})")),
                 json::DecodingError);
}

TEST(TranslationStyle, DefaultsAndEquality) {
    const TranslationStyle defaults;
    EXPECT_EQ(defaults.terms, TranslationStyle::Terms::keepCommon);
    EXPECT_EQ(defaults.address, TranslationStyle::Address::informal);
    EXPECT_NE((TranslationStyle{TranslationStyle::Terms::keepCommon, TranslationStyle::Address::formal}),
              defaults);
}
