#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <mutex>

#include "core/Cancellation.h"
#include "core/Unicode.h"
#include "engine/model/JudgeRequest.h"
#include "engine/pipeline/TranslationJob.h"
#include "tests/engine/pipeline/LoopbackJobTest.h"
#include "tests/support/LoopbackServer.h"

using namespace orvel;
using namespace std::chrono_literals;
using orvel::testing::completionBody;
using orvel::testing::LoopbackJobTest;
using orvel::testing::LoopbackServer;
using orvel::testing::mainId;
using orvel::testing::mainString;
using orvel::testing::RecordedRequest;
using orvel::testing::Reply;

namespace {

StringTranslation translation(std::string text) {
    StringTranslation value;
    value.text = std::move(text);
    value.model = "test-model";
    return value;
}

JudgedChange change(std::string key, std::string english, std::string before, std::string after) {
    return {mainString(std::move(key), std::move(english)), translation(std::move(before)),
            translation(std::move(after))};
}

// The items a judge request carries: the JSON lines after the first line of its user message.
json::Json itemsOf(const RecordedRequest& request) {
    const std::string user = request.json()["messages"][1]["content"];
    return json::parse(user.substr(user.find('\n') + 1));
}

Reply verdicts(const std::string& listJson) {
    return {200, completionBody("{\"verdicts\": " + listJson + "}")};
}

class Judge : public LoopbackJobTest {
  protected:
    Judge() : LoopbackJobTest(true, true) {}

    // Answers the forward request, whose first item shows the first change's old text as A, with
    // `forward` and the reversed one with `reversed`.
    void answer(const std::vector<JudgedChange>& changes, Reply forward, Reply reversed) {
        const std::string before = ReviewNote::summary(changes.front().before);
        server.respond([=](const RecordedRequest& request) {
            return itemsOf(request)[0]["A"] == before ? forward : reversed;
        });
    }
};

} // namespace

TEST_F(Judge, SendsEachChangeForwardAndReversedWithItsPlaces) {
    Occurrence place;
    place.screen = "Settings";
    place.role = "button";
    job.context.occurrences[mainId("save")] = {place};
    StringTranslation pluralBefore = translation("");
    pluralBefore.text.reset();
    pluralBefore.plural = std::map<std::string, std::string>{{"other", "%d Dateien"}, {"one", "%d Datei"}};
    JudgedChange files = change("files", "%d files", "", "");
    files.before = pluralBefore;
    files.after.text.reset();
    files.after.plural = std::map<std::string, std::string>{{"one", "Eine Datei"}, {"other", "%d Dateien"}};
    const std::vector<JudgedChange> changes{change("save", "Save", "Sichern", "Speichern"), files};
    answer(changes, verdicts("[]"), verdicts("[]"));

    job.judge(changes, {});

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    const std::string system = Prompt::judgeSystem(job.app, job.language, job.notes, job.style, job.terms);
    std::vector<json::Json> forwardAndReversed(2);
    for (const auto& request : requests) {
        EXPECT_EQ(request.json()["messages"][0]["content"], system);
        EXPECT_EQ(request.json()["model"], "test-model");
        const std::string user = request.json()["messages"][1]["content"];
        EXPECT_EQ(user.substr(0, user.find('\n')), "Check these 2 changes:");
        const json::Json items = itemsOf(request);
        forwardAndReversed[items[0]["A"] == "Sichern" ? 0 : 1] = items;
    }
    EXPECT_EQ(forwardAndReversed[0], json::parse(R"([
        {"id": "1", "source": "Save", "A": "Sichern", "B": "Speichern", "where": ["Settings: button"]},
        {"id": "2", "source": "%d files", "A": "one: %d Datei | other: %d Dateien",
         "B": "one: Eine Datei | other: %d Dateien"}])"));
    EXPECT_EQ(forwardAndReversed[1], json::parse(R"([
        {"id": "1", "source": "Save", "A": "Speichern", "B": "Sichern", "where": ["Settings: button"]},
        {"id": "2", "source": "%d files", "A": "one: Eine Datei | other: %d Dateien",
         "B": "one: %d Datei | other: %d Dateien"}])"));
}

TEST_F(Judge, AppliesOnlyChangesJudgedAFixForwardAndNotBackward) {
    const std::vector<JudgedChange> changes{
        change("a", "Open", "Offen", "Öffnen"),       change("b", "Close", "Zu", "Schließen"),
        change("c", "Quit", "Ende", "Beenden"),       change("d", "Copy", "Kopie", "Kopieren"),
        change("e", "Paste", "Kleister", "Einfügen"), change("f", "Undo", "Zurück", "Widerrufen"),
        change("g", "Redo", "Neu", "Wiederholen"),    change("h", "Cut", "Schnitt", "Ausschneiden"),
    };
    answer(changes, verdicts(R"([{"id": "1", "change": " Fix "}, {"id": "2", "change": "fix"},
                        {"id": "3", "change": "taste"}, {"id": "4", "change": "WORSE\n"},
                        {"id": 5, "verdict": "fix"}, {"id": "6", "change": "Maybe"},
                        {"id": "7", "change": 1}, {"id": "8", "change": "fix"}])"),
           verdicts(R"([{"id": "1", "change": "worse"}, {"id": "2", "change": "FIX"},
                        {"id": "3", "change": "fix"}, {"id": "8", "change": "taste"}])"));

    const auto reasons = job.judge(changes, {});

    const std::map<std::string, std::string> expected{
        {mainId("b"), "the reverse change was judged a fix too"},
        {mainId("c"), "judged taste"},
        {mainId("d"), "judged worse"},
        {mainId("f"), "judged maybe"},
        {mainId("g"), "judged "},
    };
    EXPECT_EQ(reasons, expected);
    EXPECT_TRUE(log().empty());
}

TEST_F(Judge, MissingVerdictsCountAsNoVerdictInTheirDirection) {
    const std::vector<JudgedChange> changes{change("a", "Open", "Offen", "Öffnen"),
                                            change("b", "Close", "Zu", "Schließen")};

    answer(changes, verdicts("[]"), verdicts(R"([{"id": "1", "change": "fix"}])"));
    EXPECT_EQ(job.judge(changes, {}),
              (std::map<std::string, std::string>{{mainId("a"), "judged no verdict"},
                                                  {mainId("b"), "judged no verdict"}}));

    // A reversed answer that leaves an item out does not hold its forward fix back.
    answer(changes, verdicts(R"([{"id": "1", "change": "fix"}, {"id": "2", "change": "fix"}])"),
           verdicts(R"([{"id": "2", "change": "fix"}])"));
    EXPECT_EQ(job.judge(changes, {}),
              (std::map<std::string, std::string>{{mainId("b"), "the reverse change was judged a fix too"}}));
}

TEST_F(Judge, IdsNamingNoItemAreIgnoredAndALaterVerdictReplacesAnEarlierOne) {
    const std::vector<JudgedChange> changes{change("a", "Open", "Offen", "Öffnen"),
                                            change("b", "Close", "Zu", "Schließen")};
    answer(changes, verdicts(R"([{"id": "1", "change": "worse"}, {"id": "1", "change": "fix"},
                        {"id": "0", "change": "fix"}, {"id": "3", "change": "fix"},
                        {"id": 2.0, "change": "fix"}, {"id": " 2", "change": "fix"},
                        {"change": "fix"}, {"id": true, "change": "fix"}])"),
           verdicts(R"([{"id": "1", "change": "fix"}, {"id": "1", "change": "taste"}])"));

    EXPECT_EQ(job.judge(changes, {}),
              (std::map<std::string, std::string>{{mainId("b"), "judged no verdict"}}));
}

TEST_F(Judge, AFailedRequestLeavesEveryChangeUnjudgedAndIsLoggedOnce) {
    const std::vector<JudgedChange> changes{change("a", "Open", "Offen", "Öffnen"),
                                            change("b", "Close", "Zu", "Schließen")};
    answer(changes, verdicts(R"([{"id": "1", "change": "fix"}, {"id": "2", "change": "fix"}])"),
           {401, "bad key"});

    const auto reasons = job.judge(changes, {});

    EXPECT_EQ(reasons, (std::map<std::string, std::string>{{mainId("a"), "the judge did not answer"},
                                                           {mainId("b"), "the judge did not answer"}}));
    EXPECT_EQ(log(), std::vector<std::string>{"judge request failed: The endpoint answered 401: bad key"});
}

TEST_F(Judge, AnAnswerWithoutAVerdictsListIsLoggedWithItsFirstCharacters) {
    const std::vector<JudgedChange> changes{change("a", "Open", "Offen", "Öffnen")};
    // Each flag is one character of two code points.
    const std::string flag = "\U0001F1E9\U0001F1EA";
    std::string longAnswer;
    for (int i = 0; i < 400; ++i)
        longAnswer += flag;
    answer(changes, {200, completionBody(longAnswer)}, {200, completionBody("All fine.")});

    EXPECT_EQ(job.judge(changes, {}),
              (std::map<std::string, std::string>{{mainId("a"), "the judge did not answer"}}));

    auto lines = log();
    ASSERT_EQ(lines.size(), 2u);
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines[0], "judge answer has no verdicts list: All fine.");
    const std::string prefix = "judge answer has no verdicts list: ";
    ASSERT_EQ(lines[1].substr(0, prefix.size()), prefix);
    EXPECT_EQ(text::graphemeCount(lines[1].substr(prefix.size())), 300u);
    EXPECT_EQ(lines[1].size(), prefix.size() + 300 * flag.size());
}

TEST_F(Judge, BothDirectionsAreInFlightAtTheSameTime) {
    const std::vector<JudgedChange> changes{change("a", "Open", "Offen", "Öffnen")};
    answer(changes, verdicts(R"([{"id": "1", "change": "fix"}])"),
           verdicts(R"([{"id": "1", "change": "worse"}])"));
    server.holdReplies();

    auto judged = std::async(std::launch::async, [&] { return job.judge(changes, {}); });
    // Neither request is answered until both have arrived.
    server.waitForRequests(2);
    server.release();

    EXPECT_TRUE(judged.get().empty());
}

TEST_F(Judge, NoChangesSendNoRequest) {
    EXPECT_TRUE(job.judge({}, {}).empty());
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(Judge, AStopEndsBothRequestsWithoutLoggingThemAsFailures) {
    const std::vector<JudgedChange> changes{change("a", "Open", "Offen", "Öffnen")};
    answer(changes, verdicts(R"([{"id": "1", "change": "fix"}])"), verdicts("[]"));
    server.holdReplies();
    std::stop_source stop;

    auto judged = std::async(std::launch::async, [&] { return job.judge(changes, stop.get_token()); });
    server.waitForRequests(2);
    stop.request_stop();

    ASSERT_EQ(judged.wait_for(5s), std::future_status::ready);
    EXPECT_THROW(judged.get(), CancellationError);
    EXPECT_TRUE(log().empty());
}
