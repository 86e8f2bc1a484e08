#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <unordered_set>
#include <vector>

#include "core/OrvelProtocol.h"
#include "engine/apps/AppNotes.h"
#include "engine/apps/TranslationProject.h"

namespace orvel {
namespace {

const Date someDate = *Dates::parseIso8601("2025-03-01T14:05:09.120Z");

StringTranslation personText(std::string text) {
    StringTranslation translation;
    translation.text = std::move(text);
    translation.origin = StringTranslation::Origin::person;
    translation.source = "Open";
    translation.updated = someDate;
    return translation;
}

StringTranslation pluralOnly(std::map<std::string, std::string> forms) {
    StringTranslation translation = personText("");
    translation.text.reset();
    translation.plural = std::move(forms);
    return translation;
}

TEST(StringTranslation, IsEmptyAndDisplayText) {
    EXPECT_TRUE(personText("").isEmpty());
    EXPECT_FALSE(personText("Öffnen").isEmpty());
    EXPECT_TRUE(pluralOnly({{"one", ""}, {"other", ""}}).isEmpty());
    EXPECT_TRUE(pluralOnly({}).isEmpty());

    auto emptyTextWithForm = pluralOnly({{"one", ""}, {"other", "%lld Dateien"}});
    emptyTextWithForm.text = "";
    EXPECT_FALSE(emptyTextWithForm.isEmpty());
    // A present text wins even when it is empty.
    EXPECT_EQ(emptyTextWithForm.displayText(), "");

    EXPECT_EQ(pluralOnly({{"one", "%lld Datei"}, {"other", "%lld Dateien"}}).displayText(), "%lld Dateien");
    EXPECT_EQ(pluralOnly({{"few", "%lld plik"}}).displayText(), "%lld plik");
    EXPECT_EQ(pluralOnly({}).displayText(), "");
    EXPECT_EQ(personText("Öffnen").displayText(), "Öffnen");
}

TEST(StringTranslation, EncodesOnlyPresentOptionalKeys) {
    const auto encoded = json::parse(OrvelProtocol::encode(personText("Öffnen")));
    EXPECT_EQ(encoded, json::parse(R"({"origin": "person", "source": "Open", "text": "Öffnen",
                                       "updated": "2025-03-01T14:05:09.120Z"})"));

    auto byModel = pluralOnly({{"other", "%lld Dateien"}});
    byModel.origin = StringTranslation::Origin::model;
    byModel.model = "gpt-test";
    const auto pluralJson = json::parse(OrvelProtocol::encode(byModel));
    EXPECT_FALSE(pluralJson.contains("text"));
    EXPECT_EQ(pluralJson["model"], "gpt-test");
    EXPECT_EQ(pluralJson["origin"], "model");
    EXPECT_EQ(OrvelProtocol::decode<StringTranslation>(OrvelProtocol::encode(byModel)), byModel);
}

TEST(StringTranslation, DecodingRequiresOriginSourceAndDate) {
    EXPECT_THROW(OrvelProtocol::decode<StringTranslation>(R"({"origin": "person", "source": "Open"})"),
                 json::DecodingError);
    EXPECT_THROW(OrvelProtocol::decode<StringTranslation>(
                     R"({"origin": "Person", "source": "Open", "updated": "2025-03-01T14:05:09Z"})"),
                 json::DecodingError);
    const auto decoded = OrvelProtocol::decode<StringTranslation>(
        R"({"origin": "model", "source": "Open", "updated": "2025-03-01T14:05:09Z", "text": null})");
    EXPECT_FALSE(decoded.text);
    EXPECT_FALSE(decoded.plural);
    EXPECT_EQ(decoded.origin, StringTranslation::Origin::model);
}

TEST(StringTranslation, EqualityAndHashCoverEveryField) {
    const auto base = personText("Öffnen");
    std::vector<StringTranslation> variants(6, base);
    variants[0].text = "Offen";
    variants[1].plural = std::map<std::string, std::string>{{"other", "Öffnen"}};
    variants[2].origin = StringTranslation::Origin::model;
    variants[3].model = "m";
    variants[4].source = "Opens";
    variants[5].updated += std::chrono::milliseconds(1);
    std::unordered_set<StringTranslation> set{base};
    for (const auto& variant : variants) {
        EXPECT_NE(variant, base);
        set.insert(variant);
    }
    EXPECT_EQ(set.size(), 7u);
    EXPECT_TRUE(set.contains(personText("Öffnen")));
}

TEST(TranslationProject, DecodingDefaults) {
    const auto project = OrvelProtocol::decode<TranslationProject>(R"({"app": "com.example.Notes",
                                                                       "language": "de"})");
    EXPECT_EQ(project.app, "com.example.Notes");
    EXPECT_EQ(project.language, "de");
    EXPECT_TRUE(project.translations.empty());
    EXPECT_TRUE(project.terms.empty());
    EXPECT_TRUE(project.retired.empty());
    EXPECT_FALSE(project.sourceText);
    EXPECT_FALSE(project.appVersion);
    EXPECT_EQ(project.style, TranslationStyle{});

    const auto nulls = OrvelProtocol::decode<TranslationProject>(
        R"({"app": "a", "language": "de", "style": null, "translations": null, "retired": null})");
    EXPECT_EQ(nulls.style, TranslationStyle{});
    EXPECT_TRUE(nulls.translations.empty());

    // Required keys and strictly decoded present keys.
    EXPECT_THROW(OrvelProtocol::decode<TranslationProject>(R"({"app": "a"})"), json::DecodingError);
    EXPECT_THROW(OrvelProtocol::decode<TranslationProject>(
                     R"({"app": "a", "language": "de", "style": {"terms": "keepCommon"}})"),
                 json::DecodingError);
    EXPECT_THROW(OrvelProtocol::decode<TranslationProject>(
                     R"({"app": "a", "language": "de",
                         "translations": {"T\u001fk": {"origin": "model", "source": "x"}}})"),
                 json::DecodingError);
}

TEST(TranslationProject, EncodesEveryMapAndOnlyPresentOptionals) {
    TranslationProject project;
    project.app = "com.example.Notes";
    project.language = "de";
    auto encoded = json::parse(OrvelProtocol::encode(project));
    for (const char* key : {"translations", "terms", "retired"})
        EXPECT_EQ(encoded[key], json::Json::object()) << key;
    EXPECT_EQ(encoded["style"], json::parse(R"({"terms": "keepCommon", "address": "informal"})"));
    EXPECT_FALSE(encoded.contains("sourceText"));
    EXPECT_FALSE(encoded.contains("appVersion"));

    project.sourceText.emplace();
    project.appVersion = "1.2 (57)";
    project.translations.emplace(std::string("Main\x1F") + "Open", personText("Öffnen"));
    project.retired.emplace(std::string("Old\x1F") + "Close", personText("Schließen"));
    project.terms.emplace("File", "Datei");
    project.style = {TranslationStyle::Terms::translateAll, TranslationStyle::Address::formal};
    const std::string text = OrvelProtocol::encode(project);
    encoded = json::parse(text);
    EXPECT_EQ(encoded["sourceText"], json::Json::object());

    const auto decoded = OrvelProtocol::decode<TranslationProject>(text);
    EXPECT_EQ(decoded.translations, project.translations);
    EXPECT_EQ(decoded.retired, project.retired);
    EXPECT_EQ(decoded.terms, project.terms);
    EXPECT_EQ(decoded.style, project.style);
    EXPECT_EQ(decoded.sourceText, project.sourceText);
    EXPECT_EQ(decoded.appVersion, project.appVersion);
}

// What is recorded as the English of a project, by a run (every string to translate) and by an update
// (only what it leaves translated, and what was recorded before). Ids are "Main" plus the key.
TEST(TranslationProject, RecordsTheEnglishOfTheStringsToTranslateTheFirstOfEqualIdsWinning) {
    using Texts = std::map<std::string, std::string>;
    struct Case {
        const char* name;
        // Key, English, whether it is to be translated.
        std::vector<std::tuple<std::string, std::string, bool>> strings;
        // Key to translation text (empty: an empty translation).
        Texts translated;
        std::optional<Texts> before;
        Texts recordedByARun;
        Texts recordedByAnUpdate;
    };
    const std::vector<Case> cases{
        {"translated strings in any order",
         {{"b", "Bee", true}, {"a", "Ay", true}},
         {{"a", "A"}, {"b", "B"}},
         std::nullopt,
         {{"a", "Ay"}, {"b", "Bee"}},
         {{"a", "Ay"}, {"b", "Bee"}}},
        {"a string not to translate is left out",
         {{"a", "Ay", false}, {"b", "Bee", true}},
         {{"a", "A"}, {"b", "B"}},
         std::nullopt,
         {{"b", "Bee"}},
         {{"b", "Bee"}}},
        {"the first of equal ids wins",
         {{"a", "First", true}, {"a", "Second", true}},
         {{"a", "A"}},
         std::nullopt,
         {{"a", "First"}},
         {{"a", "First"}}},
        {"an untranslated string never recorded is left out by an update",
         {{"a", "Ay", true}, {"b", "Bee", true}, {"c", "See", true}},
         {{"a", "A"}, {"b", ""}},
         Texts{},
         {{"a", "Ay"}, {"b", "Bee"}, {"c", "See"}},
         {{"a", "Ay"}}},
        {"an untranslated string recorded before takes its new English",
         {{"a", "Ay", true}, {"b", "New bee", true}, {"c", "See", true}},
         {{"a", "A"}},
         Texts{{"Main\x1F"
                "b",
                "Old bee"},
               {"Main\x1F"
                "z",
                "Gone"}},
         {{"a", "Ay"}, {"b", "New bee"}, {"c", "See"}},
         {{"a", "Ay"}, {"b", "New bee"}}},
    };
    const auto withIds = [](const Texts& byKey) {
        Texts byID;
        for (const auto& [key, text] : byKey)
            byID.emplace("Main\x1F" + key, text);
        return byID;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<SourceString> strings;
        for (const auto& [key, english, translate] : c.strings) {
            SourceString string;
            string.table = "Main";
            string.key = key;
            string.text = english;
            string.translate = translate;
            strings.push_back(string);
        }
        TranslationProject project;
        for (const auto& [key, text] : c.translated)
            project.translations.emplace("Main\x1F" + key, personText(text));
        project.sourceText = c.before;
        TranslationProject run = project;
        run.recordSource(strings, "2.0");
        EXPECT_EQ(run.sourceText, withIds(c.recordedByARun));
        EXPECT_EQ(run.appVersion, "2.0");
        project.recordTranslatedSource(strings, "2.0");
        EXPECT_EQ(project.sourceText, withIds(c.recordedByAnUpdate));
        EXPECT_EQ(project.appVersion, "2.0");
    }
}

TEST(AppNotes, BothKeysAreRequired) {
    EXPECT_THROW(OrvelProtocol::decode<AppNotes>(R"({"notes": "Formal tone"})"), json::DecodingError);
    const AppNotes notes{"Formal tone", {AppManifest::Term{"Inbox", "the mail folder", false}}};
    EXPECT_EQ(OrvelProtocol::decode<AppNotes>(OrvelProtocol::encode(notes)), notes);
    EXPECT_NE(notes, AppNotes{});
}

} // namespace
} // namespace orvel
