#include <gtest/gtest.h>

#include <unordered_set>

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

TEST(AppNotes, BothKeysAreRequired) {
    EXPECT_THROW(OrvelProtocol::decode<AppNotes>(R"({"notes": "Formal tone"})"), json::DecodingError);
    const AppNotes notes{"Formal tone", {AppManifest::Term{"Inbox", "the mail folder", false}}};
    EXPECT_EQ(OrvelProtocol::decode<AppNotes>(OrvelProtocol::encode(notes)), notes);
    EXPECT_NE(notes, AppNotes{});
}

} // namespace
} // namespace orvel
