#include <gtest/gtest.h>

#include <map>
#include <string>

#include "tests/engine/apps/UpdaterFixture.h"
#include "tests/support/LoopbackServer.h"

namespace orvel::testing {
namespace {

std::map<std::string, std::string> catalogWithOpen(const std::string& english) {
    return {{"Main.xcstrings", R"({"sourceLanguage": "en", "strings": {"Print": {},
        "open": {"localizations": {"en": {"stringUnit": {"value": ")" +
                                   english + R"("}}}}}})"}};
}

// The items of a translate request: the JSON list after its count line.
json::Json itemsOf(const RecordedRequest& request) {
    const std::string user = request.json()["messages"][1]["content"];
    const std::string countLine = " strings:\n";
    return json::parse(user.substr(user.rfind(countLine) + countLine.size()));
}

class UpdaterModelTest : public UpdaterTest {
  protected:
    // Answers every item of a translate request with the German of its English.
    void answerInGerman(const std::map<std::string, std::string>& german) {
        server.respond([german](const RecordedRequest& request) {
            json::Json answers = json::Json::array();
            for (const auto& item : itemsOf(request))
                answers.push_back({{"id", item["id"]}, {"text", german.at(item["text"].get<std::string>())}});
            return Reply(200, completionBody(json::Json{{"translations", answers}}.dump()));
        });
    }

    TranslationUpdater::Outcome updateWithTheModel() {
        TranslationUpdater::Pipeline pipeline = TranslationUpdater::Pipeline::live();
        pipeline.appleReference = [](const std::string&) { return std::optional<AppleReference>(); };
        pipeline.softwareReference = [](const std::string&, const std::stop_token&) {
            return std::optional<SoftwareReference>();
        };
        ModelSettings settings;
        settings.endpoint = server.url("/v1");
        settings.model = "test-model";
        settings.jsonMode = true;
        settings.timeout = 30;
        settings.batchSize = 10;
        return TranslationUpdater::updateProject(
            app, "de", settings, false, [](const TranslationProject&, const TranslationJob::Progress&) {}, {},
            pipeline);
    }

    LoopbackServer server;
};

TEST_F(UpdaterModelTest, TheModelRevisesRewordedStringsAndTranslatesNewOnes) {
    struct Case {
        std::string oldEnglish;
        std::string expectedFeedback;
    };
    const std::string revise = ". Revise the current translation to match the new English, and keep its "
                               "wording where the meaning did not change.";
    const std::vector<Case> cases{
        {"Open file", "The English changed from \"Open file\" to \"Open a file\"" + revise},
        {"", "The English changed from \"\" to \"Open a file\"" + revise},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.oldEnglish);
        updateApp(catalogWithOpen("Open a file"), "2.0");
        resetProject();
        project.translations[idOf("Main", "open")] = textTranslation(c.oldEnglish, "Datei öffnen");
        project.sourceText = std::map<std::string, std::string>{{idOf("Main", "open"), c.oldEnglish}};
        project.save(app);
        answerInGerman({{"Open a file", "Eine Datei öffnen"}, {"Print", "Drucken"}});
        const std::size_t before = server.requests().size();

        const auto outcome = updateWithTheModel();

        EXPECT_TRUE(outcome.failed.empty());
        const auto requests = server.requests();
        ASSERT_EQ(requests.size(), before + 1);
        // The new string goes without a current translation or feedback.
        EXPECT_EQ(itemsOf(requests.back()), json::parse(R"([
            {"id": "1", "text": "Print"},
            {"id": "2", "text": "Open a file", "key": "open", "current": "Datei öffnen", "feedback": )" +
                                                        json::Json(c.expectedFeedback).dump() + "}]"));
        const TranslationProject after = stored();
        EXPECT_EQ(after.translations.at(idOf("Main", "open")).text, "Eine Datei öffnen");
        EXPECT_EQ(after.translations.at(idOf("Main", "open")).source, "Open a file");
        EXPECT_EQ(published("Main").at("open"), "Eine Datei öffnen");
        EXPECT_EQ(published("Main").at("Print"), "Drucken");
        EXPECT_EQ(after.appVersion, "2.0");
    }
}

} // namespace
} // namespace orvel::testing
