#include <gtest/gtest.h>

#include <limits>

#include "engine/reference/AppleReference.h"
#include "engine/reference/SoftwareReference.h"
#include "engine/reference/StyleStats.h"

using namespace orvel;

namespace {

using Source = SoftwareReference::Source;

template <class T> bool decodes(const char* text) {
    try {
        json::decode<T>(json::parse(text));
        return true;
    } catch (const json::DecodingError&) {
        return false;
    }
}

} // namespace

TEST(AppleReferenceEntry, NeedsBothKeysOfTheRightKind) {
    const auto entry =
        json::decode<AppleReference::Entry>(json::parse(R"({"text": "Einstellungen", "count": 12})"));
    EXPECT_EQ(entry, (AppleReference::Entry{"Einstellungen", 12}));
    EXPECT_EQ(json::encode(entry), json::parse(R"({"text": "Einstellungen", "count": 12})"));
    EXPECT_FALSE(decodes<AppleReference::Entry>(R"({"text": "Einstellungen"})"));
    EXPECT_FALSE(decodes<AppleReference::Entry>(R"({"count": 3})"));
    EXPECT_FALSE(decodes<AppleReference::Entry>(R"({"text": "x", "count": "3"})"));
    EXPECT_FALSE(decodes<AppleReference::Entry>(R"({"text": 5, "count": 3})"));
    EXPECT_FALSE(decodes<AppleReference::Entry>(R"({"text": "x", "count": 1.5})"));
    EXPECT_TRUE(decodes<AppleReference::Entry>(R"({"text": "x", "count": 9000000000})"));
}

TEST(AppleReference, KeepsAtMostFourWordingsMostUsedFirst) {
    const AppleReference reference("pt-BR", {{"settings",
                                              {{"Ajustes", 3},
                                               {"Configurações", 40},
                                               {"Preferências", 7},
                                               {"Opções", 7},
                                               {"Definições", 1},
                                               {"Parâmetros", 2}}}});
    EXPECT_EQ(reference.language(), "pt-BR");
    const auto wordings = reference.wordings("settings");
    ASSERT_EQ(wordings.size(), AppleReference::maxEntries);
    EXPECT_EQ(wordings[0].text, "Configurações");
    EXPECT_EQ(wordings[1].text, "Preferências") << "equal counts keep their order";
    EXPECT_EQ(wordings[2].text, "Opções");
    EXPECT_EQ(wordings[3].text, "Ajustes");
    EXPECT_TRUE(reference.wordings("trash").empty());
    EXPECT_TRUE(AppleReference().wordings("settings").empty());
}

TEST(SoftwareReferenceSource, ListsProgramsInTheirFixedOrder) {
    std::vector<std::string> raw;
    std::vector<std::string> names;
    for (Source source : SoftwareReference::allSources) {
        raw.emplace_back(rawValue(source));
        names.emplace_back(displayName(source));
        EXPECT_EQ(sourceFromRawValue(rawValue(source)), source);
        EXPECT_EQ(json::decode<Source>(json::encode(source)), source);
    }
    EXPECT_EQ(raw, (std::vector<std::string>{"android", "chromium", "firefox", "thunderbird", "libreoffice",
                                             "vlc"}));
    EXPECT_EQ(names, (std::vector<std::string>{"Android", "Chromium", "Firefox", "Thunderbird", "LibreOffice",
                                               "VLC"}));
}

TEST(SoftwareReferenceSource, OnlyExactRawValuesNameAProgram) {
    EXPECT_FALSE(sourceFromRawValue("Firefox"));
    EXPECT_FALSE(sourceFromRawValue("firefox "));
    EXPECT_FALSE(sourceFromRawValue(""));
    EXPECT_FALSE(decodes<Source>(R"("Firefox")"));
    EXPECT_FALSE(decodes<Source>("3"));
    EXPECT_TRUE(decodes<Source>(R"("firefox")"));
}

TEST(SoftwareReferenceEntry, CodesTextAndCountsAndSumsTheCounts) {
    const auto entry = json::decode<SoftwareReference::Entry>(
        json::parse(R"({"text": "Fichier", "counts": {"firefox": 12, "vlc": 3, "other": 1}})"));
    EXPECT_EQ(entry.text, "Fichier");
    EXPECT_EQ(entry.total(), 16);
    EXPECT_EQ(json::decode<SoftwareReference::Entry>(json::encode(entry)), entry);
    EXPECT_EQ((SoftwareReference::Entry{"x", {}}).total(), 0);
    EXPECT_FALSE(decodes<SoftwareReference::Entry>(R"({"text": "Fichier"})"));
    EXPECT_FALSE(decodes<SoftwareReference::Entry>(R"({"counts": {}})"));
    EXPECT_FALSE(decodes<SoftwareReference::Entry>(R"({"text": "x", "counts": {"vlc": "3"}})"));
}

TEST(SoftwareReferenceEntry, AbsurdCountsDoNotWrapAround) {
    constexpr auto largest = std::numeric_limits<std::int64_t>::max();
    constexpr auto smallest = std::numeric_limits<std::int64_t>::min();
    EXPECT_EQ((SoftwareReference::Entry{"x", {{"android", largest}, {"vlc", 5}}}).total(), largest);
    EXPECT_EQ((SoftwareReference::Entry{"x", {{"android", smallest}, {"vlc", -5}}}).total(), smallest);
}

TEST(StyleStats, CodesAllEightFieldsAndNeedsEveryKey) {
    const char* coded = R"({"quotes": {"«»": 4}, "straightQuotes": {}, "ellipsis": {"…": 2, "none": 1},
        "spaceBefore": {":": {"no-break space": 3}}, "questions": {"?": 5}, "labelCase": {"sentence": 2},
        "labelExamples": [["sentence", "Show All", "Tout afficher"]], "imperatives": [["Click here", "Cliquez ici"]]})";
    const auto stats = json::decode<StyleStats>(json::parse(coded));
    EXPECT_EQ(stats.spaceBefore.at(":").at("no-break space"), 3);
    EXPECT_EQ(stats.labelExamples.front().at(2), "Tout afficher");
    EXPECT_EQ(json::encode(stats), json::parse(coded));
    for (const char* key : {"quotes", "straightQuotes", "ellipsis", "spaceBefore", "questions", "labelCase",
                            "labelExamples", "imperatives"}) {
        json::Json partial = json::parse(coded);
        partial.erase(key);
        EXPECT_THROW(json::decode<StyleStats>(partial), json::DecodingError) << key;
    }
}
