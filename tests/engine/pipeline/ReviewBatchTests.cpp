#include <gtest/gtest.h>

#include <future>
#include <mutex>

#include "core/Cancellation.h"
#include "core/Unicode.h"
#include "engine/model/ReviewRequest.h"
#include "engine/pipeline/Terms.h"
#include "engine/pipeline/TranslationJob.h"
#include "engine/pipeline/Validation.h"
#include "tests/engine/pipeline/LoopbackJobTest.h"
#include "tests/support/LoopbackServer.h"

using namespace orvel;
using orvel::testing::completionBody;
using orvel::testing::LoopbackJobTest;
using orvel::testing::LoopbackServer;
using orvel::testing::mainString;
using orvel::testing::RecordedRequest;
using orvel::testing::Reply;

namespace {

using Translations = std::map<std::string, StringTranslation>;
using Forms = std::map<std::string, std::string>;

StringTranslation translation(std::string text) {
    StringTranslation value;
    value.text = std::move(text);
    value.model = "test-model";
    value.source = "English";
    return value;
}

StringTranslation pluralTranslation(Forms forms) {
    StringTranslation value = translation("");
    value.text.reset();
    value.plural = std::move(forms);
    return value;
}

bool isReview(const RecordedRequest& request) {
    const std::string system = request.json()["messages"][0]["content"];
    return system.starts_with("You review");
}

Reply answer(const std::string& content) {
    return {200, completionBody(content)};
}

ReviewNote note(std::string source, std::string before, std::string after, std::optional<std::string> problem,
                std::optional<std::string> reason) {
    const bool kept = !reason;
    return {std::move(source), std::move(before), std::move(after), std::move(problem), kept,
            std::move(reason)};
}

class ReviewBatch : public LoopbackJobTest {
  protected:
    ReviewBatch() : LoopbackJobTest(true, false) {}

    // The review answers `fixes`; judge requests, when any, are answered by `judge`.
    void answerFixes(const std::string& fixes, std::function<Reply(const RecordedRequest&)> judge = {}) {
        server.respond([=](const RecordedRequest& request) {
            if (isReview(request))
                return answer(fixes);
            return judge ? judge(request) : Reply{500, "unexpected"};
        });
    }
};

} // namespace

TEST_F(ReviewBatch, SendsTheTranslatedStringsNumberedByBatchPosition) {
    job.terms = {{"library", "Mediathek"}};
    Occurrence place;
    place.screen = "Settings";
    place.role = "button";
    job.context.occurrences[SourceString::id("Main", "open")] = {place};
    const std::vector<SourceString> batch{mainString("open", "Open Library"),
                                          mainString("skipped", "Skipped"), mainString("files", "%d files")};
    const Translations translations{
        {batch[0].id(), translation("Mediathek öffnen")},
        {batch[2].id(), pluralTranslation({{"one", "%d Datei"}, {"other", "%d Dateien"}})}};
    answerFixes(R"({"fixes": []})");

    EXPECT_EQ(job.reviewBatch(batch, translations, {}), translations);

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    const json::Json body = requests[0].json();
    EXPECT_EQ(body["messages"][0]["content"],
              Prompt::reviewSystem(job.app, job.language, job.notes, job.style, job.terms));
    const std::string user = body["messages"][1]["content"];
    const std::string countLine = "Review these 2 translations:\n";
    ASSERT_NE(user.find(countLine), std::string::npos);
    EXPECT_NE(user.find("Mediathek"), std::string::npos) << "the chosen word of a present term is shown";
    std::string lines = user.substr(user.find(countLine) + countLine.size());
    EXPECT_EQ(json::parse(lines), json::parse(R"([
        {"id": "1", "source": "Open Library", "translation": "Mediathek öffnen", "where": ["Settings: button"]},
        {"id": "3", "source": "%d files", "plural": {"one": "%d Datei", "other": "%d Dateien"}}])"));
    EXPECT_TRUE(notes().empty());
    EXPECT_TRUE(log().empty());
}

TEST_F(ReviewBatch, AppliesPassingFixesAndTurnsDownFailingOnes) {
    const std::vector<SourceString> batch{mainString("a", "Open"),     mainString("b", "Skipped"),
                                          mainString("c", "Close"),    mainString("d", "Quit"),
                                          mainString("e", "%d files"), mainString("f", "Copy"),
                                          mainString("g", "%d items")};
    Translations translations{
        {batch[0].id(), translation("Offen")},   {batch[2].id(), translation("Zu")},
        {batch[3].id(), translation("Beenden")}, {batch[4].id(), translation("%d Dateien")},
        {batch[5].id(), translation("Kopie")},   {batch[6].id(), translation("%d Objekte")}};
    answerFixes(R"J({"fixes": [
        {"id": 1, "problem": "wrong word", "text": "Öffnen"},
        {"id": "2", "text": "Übersprungen"},
        {"id": "9", "text": "Neun"},
        {"id": 3.0, "text": "Schließen"},
        {"id": "4", "problem": 7, "text": " Beenden "},
        {"id": "5", "problem": "literal", "text": "Dateien"},
        {"id": "5", "problem": "literal", "text": "%d Datei(en)"},
        {"id": "6"},
        {"id": "1", "text": "Aufmachen"},
        {"id": "7", "plural": {"one": "%d Objekt", "other": "%d Objekte"}, "text": "ignored"}]})J");

    const auto reviewed = job.reviewBatch(batch, translations, {});

    Translations expected = translations;
    expected[batch[0].id()].text = "Öffnen";
    expected[batch[4].id()].text = "%d Datei(en)";
    expected[batch[6].id()] = pluralTranslation({{"one", "%d Objekt"}, {"other", "%d Objekte"}});
    EXPECT_EQ(reviewed, expected);
    // Only the translation's words change: who made it and from what stays.
    EXPECT_EQ(reviewed.at(batch[0].id()).model, "test-model");
    EXPECT_EQ(reviewed.at(batch[0].id()).source, "English");

    const auto placeholderProblem = Validation::problem("Dateien", std::nullopt, batch[4], "de");
    ASSERT_TRUE(placeholderProblem);
    const std::vector<ReviewNote> expectedNotes{
        note("%d files", "%d Dateien", "Dateien", "literal", placeholderProblem),
        note("Open", "Offen", "Öffnen", "wrong word", std::nullopt),
        note("%d files", "%d Dateien", "%d Datei(en)", "literal", std::nullopt),
        note("%d items", "%d Objekte", "one: %d Objekt | other: %d Objekte", std::nullopt, std::nullopt),
    };
    EXPECT_EQ(notes(), expectedNotes);
    EXPECT_TRUE(log().empty());
}

TEST_F(ReviewBatch, APluralTranslationTakesOnlyPluralFixes) {
    const std::vector<SourceString> batch{mainString("files", "%d files")};
    const Translations translations{
        {batch[0].id(), pluralTranslation({{"one", "%d Dateien"}, {"other", "%d Dateien"}})}};
    answerFixes(R"({"fixes": [{"id": "1", "text": "%d Datei"}]})");
    EXPECT_EQ(job.reviewBatch(batch, translations, {}), translations);
    EXPECT_TRUE(notes().empty());

    answerFixes(R"({"fixes": [{"id": "1", "plural": {"one": "%d Datei", "other": 3}},
                              {"id": "1", "plural": {"one": "%d Datei", "other": "%d Dateien"}}]})");
    const auto reviewed = job.reviewBatch(batch, translations, {});
    EXPECT_EQ(reviewed.at(batch[0].id()).plural, (Forms{{"one", "%d Datei"}, {"other", "%d Dateien"}}));
    EXPECT_EQ(notes().size(), 1u);
}

TEST_F(ReviewBatch, AFixWhoseFormLeavesOutTheCountIsTurnedDown) {
    job.language = "ru";
    const std::vector<SourceString> batch{mainString("files", "%lld files")};
    const Forms current{
        {"one", "%lld файлов"}, {"few", "%lld файла"}, {"many", "%lld файлов"}, {"other", "%lld файла"}};
    const Translations translations{{batch[0].id(), pluralTranslation(current)}};
    answerFixes(R"({"fixes": [
        {"id": "1", "plural": {"one": "один файл", "few": "%lld файла", "many": "%lld файлов", "other": "%lld файла"}},
        {"id": "1", "plural": {"one": "%lld файл", "few": "%lld файла", "many": "%lld файлов", "other": "%lld файла"}}]})");

    const auto reviewed = job.reviewBatch(batch, translations, {});

    EXPECT_EQ(
        reviewed.at(batch[0].id()).plural,
        (Forms{
            {"one", "%lld файл"}, {"few", "%lld файла"}, {"many", "%lld файлов"}, {"other", "%lld файла"}}));
    const std::string before = ReviewNote::summary(pluralTranslation(current));
    EXPECT_EQ(
        notes(),
        (std::vector<ReviewNote>{
            note("%lld files", before,
                 "one: один файл | few: %lld файла | many: %lld файлов | other: %lld файла", std::nullopt,
                 "the \"one\" form of this language stands for 1, 21, 31 and more, so it must keep the "
                 "placeholders %lld"),
            note("%lld files", before,
                 "one: %lld файл | few: %lld файла | many: %lld файлов | other: %lld файла", std::nullopt,
                 std::nullopt)}));
}

TEST_F(ReviewBatch, AFixMustNotBringATermProblemOrDropAChosenWord) {
    job.terms = {{"library", "Mediathek"}, {"PDF", "PDF"}};
    const std::vector<SourceString> batch{mainString("export", "Export as PDF"),
                                          mainString("open", "Open Library")};
    const Translations translations{{batch[0].id(), translation("Als PDF exportieren")},
                                    {batch[1].id(), translation("Mediathek öffnen")}};
    answerFixes(R"({"fixes": [{"id": "1", "text": "Exportieren"},
                              {"id": "2", "problem": "style", "text": "Bibliothek öffnen"}]})");

    EXPECT_EQ(job.reviewBatch(batch, translations, {}), translations);

    EXPECT_EQ(notes(),
              (std::vector<ReviewNote>{note("Export as PDF", "Als PDF exportieren", "Exportieren",
                                            std::nullopt, "keep the name \"PDF\" exactly as written"),
                                       note("Open Library", "Mediathek öffnen", "Bibliothek öffnen", "style",
                                            "drops the word chosen for a term")}));
}

TEST_F(ReviewBatch, AFixMayKeepATermProblemTheTranslationAlreadyHad) {
    job.terms = {{"PDF", "PDF"}};
    const std::vector<SourceString> batch{mainString("export", "Export as PDF")};
    const Translations translations{{batch[0].id(), translation("Exportieren")}};
    answerFixes(R"({"fixes": [{"id": "1", "text": "Jetzt exportieren"}]})");

    EXPECT_EQ(job.reviewBatch(batch, translations, {}).at(batch[0].id()).text, "Jetzt exportieren");

    // The model is told of the problem it is expected to fix.
    const std::string user = server.requests().at(0).json()["messages"][1]["content"];
    EXPECT_EQ(json::parse(user.substr(user.find("translations:\n") + 14))[0]["problem"],
              "keep the name \"PDF\" exactly as written");
}

TEST_F(ReviewBatch, TheJudgeDecidesWhenFixesAreVerified) {
    job.verifyReview = true;
    const std::vector<SourceString> batch{mainString("a", "Open"), mainString("b", "Close")};
    const Translations translations{{batch[0].id(), translation("Offen")},
                                    {batch[1].id(), translation("Zu")}};
    answerFixes(
        R"({"fixes": [{"id": "1", "text": "Öffnen"}, {"id": "2", "text": "Schließen"}]})",
        [](const RecordedRequest& request) {
            const std::string user = request.json()["messages"][1]["content"];
            const bool forward = user.find(R"("A":"Offen")") != std::string::npos ||
                                 user.find(R"("A": "Offen")") != std::string::npos;
            return answer(
                forward ? R"({"verdicts": [{"id": "1", "change": "fix"}, {"id": 2, "change": "fix"}]})"
                        : R"({"verdicts": [{"id": "1", "change": "worse"}, {"id": "2", "change": "fix"}]})");
        });

    const auto reviewed = job.reviewBatch(batch, translations, {});

    EXPECT_EQ(server.requests().size(), 3u);
    EXPECT_EQ(reviewed.at(batch[0].id()).text, "Öffnen");
    EXPECT_EQ(reviewed.at(batch[1].id()).text, "Zu");
    EXPECT_EQ(notes(), (std::vector<ReviewNote>{note("Open", "Offen", "Öffnen", std::nullopt, std::nullopt),
                                                note("Close", "Zu", "Schließen", std::nullopt,
                                                     "the reverse change was judged a fix too")}));
}

TEST_F(ReviewBatch, FixesApplyWithoutAReviewCallback) {
    job.onReview = nullptr;
    const std::vector<SourceString> batch{mainString("a", "Open")};
    answerFixes(R"({"fixes": [{"id": "1", "text": "Öffnen"}]})");
    EXPECT_EQ(job.reviewBatch(batch, {{batch[0].id(), translation("Offen")}}, {}).at(batch[0].id()).text,
              "Öffnen");
}

TEST_F(ReviewBatch, FailuresAreLoggedAndLeaveTheTranslationsAlone) {
    const std::vector<SourceString> batch{mainString("a", "Open")};
    const Translations translations{{batch[0].id(), translation("Offen")}};

    server.reply({{401, "bad key"}});
    EXPECT_EQ(job.reviewBatch(batch, translations, {}), translations);
    EXPECT_EQ(log(), std::vector<std::string>{"review failed: The endpoint answered 401: bad key"});

    // Each flag is one character of two code points.
    const std::string flag = "\U0001F1E9\U0001F1EA";
    std::string longAnswer;
    for (int i = 0; i < 400; ++i)
        longAnswer += flag;
    server.reply({answer(longAnswer)});
    EXPECT_EQ(job.reviewBatch(batch, translations, {}), translations);
    const auto lines = log();
    ASSERT_EQ(lines.size(), 2u);
    const std::string prefix = "review answer has no fixes list: ";
    ASSERT_TRUE(lines[1].starts_with(prefix));
    EXPECT_EQ(text::graphemeCount(lines[1].substr(prefix.size())), 300u);
    EXPECT_TRUE(notes().empty());
}

TEST_F(ReviewBatch, AStopEndsTheReviewWithCancellation) {
    const std::vector<SourceString> batch{mainString("a", "Open")};
    server.holdReplies();
    std::stop_source stop;

    auto reviewed = std::async(std::launch::async, [&] {
        return job.reviewBatch(batch, {{batch[0].id(), translation("Offen")}}, stop.get_token());
    });
    server.waitForRequests(1);
    stop.request_stop();

    EXPECT_THROW(reviewed.get(), CancellationError);
    server.release();
    EXPECT_TRUE(log().empty());
    EXPECT_TRUE(notes().empty());
}

TEST_F(ReviewBatch, ABatchWithoutTranslationsIsNotSent) {
    const std::vector<SourceString> batch{mainString("a", "Open")};
    const Translations elsewhere{{SourceString::id("Main", "other"), translation("Anders")}};
    answerFixes(R"({"fixes": [{"id": "1", "text": "Öffnen"}]})");

    EXPECT_EQ(job.reviewBatch(batch, elsewhere, {}), elsewhere);
    EXPECT_TRUE(server.requests().empty());
}
