#include <gtest/gtest.h>

#include <functional>

#include "core/Cancellation.h"
#include "engine/model/ChatError.h"
#include "engine/model/PluralExamples.h"
#include "engine/model/TranslateRequest.h"
#include "engine/pipeline/TranslationJob.h"
#include "tests/engine/pipeline/LoopbackJobTest.h"
#include "tests/support/LoopbackServer.h"

using namespace orvel;
using orvel::testing::completionBody;
using orvel::testing::LoopbackJobTest;
using orvel::testing::LoopbackServer;
using orvel::testing::mainId;
using orvel::testing::mainString;
using orvel::testing::RecordedRequest;
using orvel::testing::Reply;
using orvel::testing::userOf;

namespace {

using Forms = std::map<std::string, std::string>;

SourceString plural(std::string key, std::string text, Forms forms) {
    SourceString value = mainString(std::move(key), std::move(text));
    value.plural = std::move(forms);
    return value;
}

json::Json itemsOf(const RecordedRequest& request) {
    return orvel::testing::translateItemsOf(request);
}

bool isReask(const RecordedRequest& request) {
    return itemsOf(request)[0].contains("problem");
}

Reply answer(const std::string& translationsJson) {
    return {200, completionBody("{\"translations\": " + translationsJson + "}")};
}

class TranslateBatch : public LoopbackJobTest {
  protected:
    TranslateBatch() : LoopbackJobTest(false, false) {}

    // Answers the first request with `first` and the re-ask with `reask`.
    void answers(const std::string& first, const std::string& reask = "[]") {
        server.respond(
            [=](const RecordedRequest& request) { return answer(isReask(request) ? reask : first); });
    }

    TranslationJob::BatchResult translate(const std::vector<SourceString>& batch,
                                          const std::map<std::string, StringTranslation>& existing = {},
                                          const std::map<std::string, std::string>& feedback = {}) {
        return job.translateBatch(batch, "SYSTEM", existing, feedback, {});
    }
};

} // namespace

TEST_F(TranslateBatch, SendsOneItemPerStringWithItsContextAndTerms) {
    Occurrence place;
    place.screen = "Browser";
    place.role = "button";
    job.context.occurrences[mainId("open")] = {place};
    job.terms = {{"files", "Dateien"}, {"Library", "Mediathek"}};
    SourceString remove = mainString("delete", "Delete ${count} files");
    remove.comment = "Toolbar";
    StringTranslation current;
    current.text = "Offen";
    const std::vector<SourceString> batch{
        remove, mainString("open", "Open"), mainString("has space", "%d items"),
        plural("files", "%d files", {{"one", "%d file"}, {"other", "%d files"}})};
    answers(R"([{"id": "1", "text": "Lösche ⟦1⟧ Dateien"}, {"id": "2", "text": "Öffnen"},
                {"id": "3", "text": "%d Objekte"},
                {"id": "4", "plural": {"one": "%d Datei", "other": "%d Dateien"}}])");

    const auto result = translate(batch, {{mainId("open"), current}}, {{mainId("open"), "use the verb"}});

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].json()["messages"][0]["content"], "SYSTEM");
    EXPECT_EQ(userOf(requests[0]).substr(0, userOf(requests[0]).find("Translate these")),
              Prompt::termWords({{"files", "Dateien"}}));
    const std::string description = PluralExamples::describe("de");
    EXPECT_EQ(itemsOf(requests[0]), json::parse(R"([
        {"id": "1", "text": "Delete ⟦1⟧ files", "note": "Toolbar", "key": "delete"},
        {"id": "2", "text": "Open", "where": ["Browser: button"], "key": "open", "current": "Offen",
         "feedback": "use the verb"},
        {"id": "3", "text": "%d items", "countable": true},
        {"id": "4", "text": "%d files", "plural": ")" +
                                                description + R"(", "key": "files"}])"));

    EXPECT_TRUE(result.failed.empty());
    ASSERT_EQ(result.translations.size(), 4u);
    const StringTranslation& deleted = result.translations.at(mainId("delete"));
    EXPECT_EQ(deleted.text, "Lösche ${count} Dateien");
    EXPECT_FALSE(deleted.plural);
    EXPECT_EQ(deleted.origin, StringTranslation::Origin::model);
    EXPECT_EQ(deleted.model, "test-model");
    EXPECT_EQ(deleted.source, "Delete ${count} files");
    EXPECT_GT(deleted.updated.time_since_epoch().count(), 0);
    const StringTranslation& files = result.translations.at(mainId("files"));
    EXPECT_FALSE(files.text);
    EXPECT_EQ(files.plural, (Forms{{"one", "%d Datei"}, {"other", "%d Dateien"}}));
}

TEST_F(TranslateBatch, ALanguageWithoutPluralsGetsNeitherPluralNorCountable) {
    job.language = "ja";
    answers(R"([{"id": "1", "text": "%d 個"}, {"id": "2", "text": "%d 件"}])");

    translate({mainString("items", "%d items"),
               plural("files", "%d files", {{"one", "%d file"}, {"other", "%d files"}})});

    EXPECT_EQ(itemsOf(server.requests().at(0)), json::parse(R"([
        {"id": "1", "text": "%d items", "key": "items"}, {"id": "2", "text": "%d files", "key": "files"}])"));
}

TEST_F(TranslateBatch, AnEmptyBatchSendsNothing) {
    const auto result = translate({});
    EXPECT_TRUE(result.translations.empty());
    EXPECT_TRUE(result.failed.empty());
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(TranslateBatch, IdsMayBeTextOrIntegersAndUnknownIdsAreIgnored) {
    answers(R"([{"id": 2, "text": "Schließen"}, {"id": "7", "text": "Sichern"}, {"id": 1.0, "text": "Öffnen"},
                {"text": "Öffnen"}, {"id": "3", "text": "Beenden"}])",
            R"([{"id": 1, "text": "Öffnen"}])");

    const auto result =
        translate({mainString("open", "Open"), mainString("close", "Close"), mainString("quit", "Quit")});

    EXPECT_EQ(result.translations.at(mainId("close")).text, "Schließen");
    EXPECT_EQ(result.translations.at(mainId("quit")).text, "Beenden");
    EXPECT_EQ(result.translations.at(mainId("open")).text, "Öffnen") << "answered only in the re-ask";
    EXPECT_TRUE(result.failed.empty());
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(itemsOf(requests[1]), json::parse(R"([{"id": "1", "text": "Open", "key": "open",
        "problem": "the answer had no translation for this item"}])"));
}

TEST_F(TranslateBatch, AnswersAreUnmaskedAndNormalisedBeforeTheyAreChecked) {
    // The first variable looks like the second one's token; it must come back as written.
    answers(R"([{"id": "1", "text": "Öffne die Datei"}, {"id": "2", "text": "Hallo ⟦1⟧ und ⟦2⟧"}])");

    const auto result =
        translate({mainString("open", "Open the file."), mainString("hello", "Hello ${⟦2⟧} and {{b}}")});

    EXPECT_TRUE(result.failed.empty());
    EXPECT_EQ(result.translations.at(mainId("open")).text, "Öffne die Datei.");
    EXPECT_EQ(result.translations.at(mainId("hello")).text, "Hallo ${⟦2⟧} und {{b}}");
}

TEST_F(TranslateBatch, FailuresAreAskedOnceMoreWithTheirReasons) {
    answers(R"([{"id": "1", "text": "Öffnen"}, {"id": "2", "text": "Dateien"}, {"id": "3", "text": ""}])",
            R"([{"id": "1", "text": "%d Dateien"}, {"id": "2", "text": ""}])");

    const auto result = translate({mainString("open", "Open"), mainString("files", "%d files"),
                                   mainString("quit", "Quit"), mainString("x", "Cut")});

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u) << "there is never a third request";
    const json::Json reask = itemsOf(requests[1]);
    ASSERT_EQ(reask.size(), 3u);
    EXPECT_EQ(reask[0]["id"], "1");
    EXPECT_EQ(reask[0]["text"], "%d files");
    EXPECT_EQ(reask[0]["problem"], "the translation must keep exactly the placeholders %d");
    EXPECT_EQ(reask[1]["id"], "2");
    EXPECT_EQ(reask[1]["problem"], "the translation is empty");
    EXPECT_EQ(reask[2]["id"], "3");
    EXPECT_EQ(reask[2]["problem"], "the answer had no translation for this item");
    EXPECT_EQ(reask[2]["text"], "Cut");

    EXPECT_EQ(result.translations.at(mainId("files")).text, "%d Dateien");
    EXPECT_EQ(result.translations.size(), 2u);
    EXPECT_EQ(result.failed, (std::map<std::string, std::string>{
                                 {mainId("quit"), "the translation is empty"},
                                 {mainId("x"), "the answer had no translation for this item"}}));
}

TEST_F(TranslateBatch, ATermOnlyFaultSurvivesAFailedReaskButYieldsToAnAcceptedOne) {
    const std::vector<SourceString> batch{mainString("a", "Delete all files"),
                                          mainString("b", "Rename the folder")};
    answers(R"([{"id": "1", "text": "Delete all files"}, {"id": "2", "text": "Rename the folder"}])",
            R"([{"id": "1", "text": ""}, {"id": "2", "text": "Ordner umbenennen"}])");

    const auto result = translate(batch);

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(itemsOf(requests[1])[0]["problem"], "it was left in English");
    EXPECT_TRUE(result.failed.empty());
    EXPECT_EQ(result.translations.at(mainId("a")).text, "Delete all files");
    EXPECT_EQ(result.translations.at(mainId("b")).text, "Ordner umbenennen");
}

TEST_F(TranslateBatch, AFormThatLeavesOutItsCountIsAskedAgainWithWhy) {
    job.language = "ru";
    const SourceString files = plural("files", "%lld files", {{"one", "%lld file"}, {"other", "%lld files"}});
    answers(R"([{"id": "1", "plural": {"one": "один файл", "few": "%lld файла", "many": "%lld файлов",
                                     "other": "%lld файла"}}])",
            R"([{"id": "1", "plural": {"one": "%lld файл", "few": "%lld файла", "many": "%lld файлов",
                                     "other": "%lld файла"}}])");

    const auto result = translate({files});

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(itemsOf(requests[1])[0]["problem"],
              "the \"one\" form of this language stands for 1, 21, 31 and more, so it must keep the "
              "placeholders %lld");
    EXPECT_TRUE(result.failed.empty());
    EXPECT_EQ(
        result.translations.at(mainId("files")).plural,
        (Forms{
            {"one", "%lld файл"}, {"few", "%lld файла"}, {"many", "%lld файлов"}, {"other", "%lld файла"}}));
}

TEST_F(TranslateBatch, PluralAnswersAreStoredAsForms) {
    const SourceString files = plural("files", "%d files", {{"one", "%d file"}, {"other", "%d files"}});
    // The re-ask repeats the fault: the string stays failed with the plural reason.
    answers(
        R"([{"id": "1", "text": "%d Dateien"}, {"id": "2", "plural": {"one": "%d Objekt", "other": "%d Objekte "}},
                {"id": "3", "text": "%d Ordner", "plural": {}}, {"id": "4", "plural": {"one": 1, "other": "%d"}}])",
        R"([{"id": "1", "text": "%d Dateien"}])");

    const auto result = translate({files, mainString("items", "%d items"),
                                   mainString("folders", "%d folders"), mainString("n", "%d values")});

    const std::string reason =
        "this string counts something: give \"plural\" forms for " + PluralExamples::describe("de");
    EXPECT_EQ(result.failed.at(mainId("files")), reason);
    EXPECT_EQ(itemsOf(server.requests().at(1))[0]["problem"], reason);
    const StringTranslation& items = result.translations.at(mainId("items"));
    EXPECT_FALSE(items.text);
    EXPECT_EQ(items.plural, (Forms{{"one", "%d Objekt"}, {"other", "%d Objekte"}}))
        << "forms are normalised too";
    // An empty forms object is no forms: the text is kept rather than stored as nothing.
    EXPECT_EQ(result.translations.at(mainId("folders")).text, "%d Ordner");
    EXPECT_FALSE(result.translations.at(mainId("folders")).plural);
    // Forms of the wrong kind count as absent, so the answer has nothing.
    EXPECT_EQ(result.failed.at(mainId("n")), "the translation is empty");
}

TEST_F(TranslateBatch, TheFirstValidObjectForAnItemWinsAndNoStringEndsBothWays) {
    struct Case {
        std::string answer;
        std::optional<std::string> text;
        std::optional<std::string> reason;
    };
    const std::vector<Case> cases{
        {R"([{"id": "1", "text": "Öffnen"}, {"id": "1", "text": ""}])", "Öffnen", std::nullopt},
        {R"([{"id": "1", "text": "Öffnen"}, {"id": "1", "text": "Aufmachen"}])", "Öffnen", std::nullopt},
        {R"([{"id": "1", "text": ""}, {"id": "1", "text": "Öffnen"}])", "Öffnen", std::nullopt},
        {R"([{"id": "1", "text": ""}, {"id": "1", "text": "a → b"}])", std::nullopt,
         "write only the translation, without the old text, an arrow or a comment"},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.answer);
        answers(row.answer);
        const auto result = translate({mainString("open", "Open")});
        const auto translated = result.translations.find(mainId("open"));
        EXPECT_EQ(translated == result.translations.end() ? std::nullopt : translated->second.text, row.text);
        const auto failed = result.failed.find(mainId("open"));
        EXPECT_EQ(failed == result.failed.end() ? std::nullopt : std::optional(failed->second), row.reason);
    }
}

TEST_F(TranslateBatch, AnswersWithoutATranslationsListLeaveEveryItemUnanswered) {
    server.reply({{200, completionBody("I cannot help with that.")}});

    const auto result = translate({mainString("open", "Open"), mainString("close", "Close")});

    EXPECT_EQ(server.requests().size(), 2u);
    EXPECT_TRUE(result.translations.empty());
    EXPECT_EQ(result.failed, (std::map<std::string, std::string>{
                                 {mainId("open"), "the answer had no translation for this item"},
                                 {mainId("close"), "the answer had no translation for this item"}}));
}

TEST_F(TranslateBatch, AFailedRequestFailsTheBatchInEitherPass) {
    server.reply({{401, "bad key"}});
    EXPECT_THROW(translate({mainString("open", "Open")}), ChatError);

    server.reply({answer(R"([{"id": "1", "text": "Öffnen"}])"), {401, "bad key"}});
    EXPECT_THROW(translate({mainString("open", "Open"), mainString("close", "Close")}), ChatError);
}

TEST_F(TranslateBatch, ItemsCarryTheMacOSWordingsOfTheirText) {
    job.reference = AppleReference("de", {{AppleReference::americanized("Tab Bar"), {{"Tableiste", 60}}}});
    answers(R"([{"id": "1", "text": "Tab-Leiste zeigen"}, {"id": "2", "text": "Öffnen"}])",
            R"([{"id": "1", "text": "Tableiste einblenden"}])");

    const auto result = translate({mainString("tabs", "Show Tab Bar"), mainString("open", "Open")});

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    const json::Json first = itemsOf(requests[0]);
    const auto hints = job.reference->hints("Show Tab Bar");
    ASSERT_FALSE(hints.empty());
    EXPECT_EQ(first[0]["os"], json::Json(hints));
    EXPECT_FALSE(first[1].contains("os")) << "no wordings, no list";
    EXPECT_EQ(itemsOf(requests[1])[0]["problem"], "macOS calls \"Tab Bar\" «Tableiste»: use that name");
    EXPECT_EQ(result.translations.at(mainId("tabs")).text, "Tableiste einblenden");
}
