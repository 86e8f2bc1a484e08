#include <gtest/gtest.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "core/Cancellation.h"
#include "engine/model/ChatError.h"
#include "engine/model/TranslateRequest.h"
#include "engine/pipeline/TranslationJob.h"
#include "tests/engine/pipeline/LoopbackJobTest.h"

using namespace orvel;
using orvel::testing::completionBody;
using orvel::testing::LoopbackJobTest;
using orvel::testing::mainId;
using orvel::testing::mainString;
using orvel::testing::RecordedRequest;
using orvel::testing::Reply;
using orvel::testing::translateItemsOf;
using Progress = TranslationJob::Progress;

namespace {

// The model of these tests: "DE " before every text; an item whose text holds "skip" is left out of
// the answer, "empty" gets an empty text and "arrow" an arrow, so each fails with its own reason; a
// request holding "boom" is refused with status 401, which is never tried again.
Reply scriptedAnswer(const RecordedRequest& request) {
    json::Json translations = json::Json::array();
    for (const auto& item : translateItemsOf(request)) {
        const std::string text = item["text"];
        if (text.find("boom") != std::string::npos)
            return {401, "refused"};
        if (text.find("skip") != std::string::npos)
            continue;
        const std::string answer = text.find("empty") != std::string::npos   ? ""
                                   : text.find("arrow") != std::string::npos ? "a → b"
                                                                             : "DE " + text;
        translations.push_back({{"id", item["id"]}, {"text", answer}});
    }
    return {200, completionBody(json::dump(json::Json{{"translations", translations}}))};
}

// Strings of the table "Main" whose keys sort in the order given.
std::vector<SourceString> inOrder(const std::vector<std::string>& texts) {
    std::vector<SourceString> strings;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        strings.push_back(mainString((i < 10 ? "k0" : "k") + std::to_string(i), texts[i]));
    }
    return strings;
}

struct Report {
    std::vector<std::string> ids;
    Progress progress;
};

class RunDriver : public LoopbackJobTest {
  protected:
    RunDriver() : LoopbackJobTest(false, false) { server.respond(scriptedAnswer); }

    TranslationJob::Failures run(const std::vector<SourceString>& strings, const std::stop_token& stop = {}) {
        return job.run(
            strings, {}, {},
            [this](const TranslationJob::Translations& translations, const Progress& progress) {
                std::lock_guard guard(m_lock);
                Report report{{}, progress};
                for (const auto& [id, translation] : translations) {
                    report.ids.push_back(id);
                    taken[id] = translation;
                }
                reports.push_back(std::move(report));
            },
            stop);
    }

    // The texts of each first request of a batch, in the order the requests came.
    std::vector<std::vector<std::string>> batchesSent() const {
        std::vector<std::vector<std::string>> batches;
        for (const auto& request : server.requests()) {
            const json::Json items = translateItemsOf(request);
            if (items[0].contains("problem"))
                continue;
            batches.emplace_back();
            for (const auto& item : items)
                batches.back().push_back(item["text"]);
        }
        return batches;
    }

    std::vector<Progress> progresses() {
        std::lock_guard guard(m_lock);
        std::vector<Progress> found;
        for (const Report& report : reports)
            found.push_back(report.progress);
        return found;
    }

    std::mutex m_lock;
    std::vector<Report> reports;
    TranslationJob::Translations taken;
};

} // namespace

TEST(RunDriverTakeOver, TakesOverShortTextsWithoutLowerCase) {
    struct Case {
        std::string text;
        bool takenOver;
    };
    const std::vector<Case> cases{
        {"OK", true},  {"A", true},        {"%@", true},   {"+", true},        {"1", true},
        {"…", true},   {"", true},         {"É", true},    {"E\u0301T", true}, {"ok", false},
        {"Go", false}, {"Hi", false},      {"%d", false},  {"Add", false},     {"ABC", false},
        {"é", false},  {"e\u0301", false}, {"日本", true}, {"日本語", false},
        {"\r\n\r\n", true}, {"A\r\n", true}, {"A\r\nB", false},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(TranslationJob::isTakenOver(row.text), row.takenOver);
    }
}

TEST_F(RunDriver, SortsByFirstScreenThenTableThenKey) {
    Occurrence main;
    main.screen = "Main";
    Occurrence about;
    about.screen = "About";
    SourceString other = mainString("a", "Other table");
    other.table = "Zed";
    job.context.occurrences = {{mainId("b"), {main, about}},
                               {mainId("c"), {main}},
                               {mainId("a"), {}},
                               {SourceString::id("Zed", "a"), {main}}};

    struct Case {
        std::string name;
        std::vector<SourceString> strings;
        std::vector<std::string> ids;
    };
    const std::vector<Case> cases{
        {"seen before unseen, an empty list is unseen",
         {mainString("a", "x"), mainString("z", "x"), mainString("b", "x")},
         {mainId("b"), mainId("a"), mainId("z")}},
        {"on one screen by table, then key",
         {other, mainString("c", "x"), mainString("b", "x")},
         {mainId("b"), mainId("c"), SourceString::id("Zed", "a")}},
        {"keys compare in composed form",
         {mainString("e\u0301", "x"), mainString("f", "x")},
         {mainId("f"), mainId("e\u0301")}},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        std::vector<SourceString> strings = row.strings;
        job.sortForBatches(strings);
        std::vector<std::string> ids;
        for (const auto& string : strings)
            ids.push_back(string.id());
        EXPECT_EQ(ids, row.ids);
    }
}

TEST_F(RunDriver, CutsBatchesInOrderAndReportsEachWithTheRunsProgress) {
    struct Case {
        std::string name;
        std::vector<std::string> texts;
        int batchSize;
        int concurrency;
        std::vector<std::vector<std::string>> batches;
        std::vector<Progress> reports;
        TranslationJob::Failures failed;
    };
    const std::string unanswered = "the answer had no translation for this item";
    const std::vector<Case> cases{
        {"nothing to translate", {}, 4, 1, {}, {}, {}},
        {"only taken-over strings", {"OK", "%@", "1"}, 4, 1, {}, {{3, 3, 0}}, {}},
        {"batch size 0 and concurrency 0",
         {"Add", "Bold", "Copy"},
         0,
         0,
         {{"Add"}, {"Bold"}, {"Copy"}},
         {{1, 3, 0}, {2, 3, 0}, {3, 3, 0}},
         {}},
        {"negative batch size and concurrency",
         {"Add", "Bold"},
         -2,
         -1,
         {{"Add"}, {"Bold"}},
         {{1, 2, 0}, {2, 2, 0}},
         {}},
        {"ten strings by four",
         {"s0", "s1", "s2", "s3", "s4", "s5", "s6", "s7", "s8", "s9"},
         4,
         1,
         {{"s0", "s1", "s2", "s3"}, {"s4", "s5", "s6", "s7"}, {"s8", "s9"}},
         {{4, 10, 0}, {8, 10, 0}, {10, 10, 0}},
         {}},
        {"three taken over first, then one batch of seven",
         {"Add", "OK", "skip one", "+", "Bold", "skip two", "1", "Copy", "Delete", "Edit"},
         7,
         4,
         {{"Add", "skip one", "Bold", "skip two", "Copy", "Delete", "Edit"}},
         {{3, 10, 0}, {10, 10, 2}},
         {{mainId("k02"), unanswered}, {mainId("k05"), unanswered}}},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        server.clearRequests();
        reports.clear();
        job.settings.batchSize = row.batchSize;
        job.settings.concurrency = row.concurrency;

        EXPECT_EQ(run(inOrder(row.texts)), row.failed);
        EXPECT_EQ(batchesSent(), row.batches);
        EXPECT_EQ(progresses(), row.reports);
    }
}

TEST_F(RunDriver, TakenOverStringsKeepTheirOwnTextWithoutForms) {
    SourceString counted = mainString("count", "%@");
    counted.plural = std::map<std::string, std::string>{{"one", "%@ item"}, {"other", "%@ items"}};
    SourceString twin = mainString("count", "A");

    EXPECT_TRUE(run({counted, twin, mainString("ok", "OK")}).empty());

    ASSERT_EQ(reports.size(), 1u) << "one report for the taken-over strings, and no batch";
    EXPECT_EQ(reports[0].ids, (std::vector<std::string>{mainId("count"), mainId("ok")}));
    EXPECT_EQ(reports[0].progress, (Progress{3, 3, 0})) << "every string given counts, the twin too";
    const StringTranslation& kept = taken.at(mainId("count"));
    EXPECT_EQ(kept.text, "%@") << "the first of two strings with one id";
    EXPECT_FALSE(kept.plural);
    EXPECT_EQ(kept.source, "%@");
    EXPECT_EQ(kept.origin, StringTranslation::Origin::model);
    EXPECT_EQ(kept.model, "test-model");
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(RunDriver, KeepsTheLaterReasonOfAnIdThatFailsTwice) {
    job.settings.batchSize = 1;
    job.settings.concurrency = 1;

    const auto failed = run({mainString("twice", "empty answer"), mainString("twice", "arrow answer")});

    EXPECT_EQ(failed, (TranslationJob::Failures{
                          {mainId("twice"),
                           "write only the translation, without the old text, an arrow or a comment"}}));
    EXPECT_EQ(progresses(), (std::vector<Progress>{{1, 2, 1}, {2, 2, 1}})) << "failed counts ids";
}

TEST_F(RunDriver, SendsOneSystemMessageThatSpeaksOfPhrasesOnlyWhenAnItemHasOne) {
    SoftwareReference withPhrase;
    withPhrase.table = {{"clear history", {{"Verlauf löschen", {{"android", 3}, {"firefox", 2}}}}}};
    SoftwareReference withoutPhrase;
    withoutPhrase.table = {{"open window", {{"Fenster öffnen", {{"android", 3}}}}}};

    struct Case {
        std::string name;
        std::optional<SoftwareReference> reference;
        bool phrases;
    };
    const std::vector<Case> cases{
        {"no software reference", std::nullopt, false},
        {"no phrase for any string", withoutPhrase, false},
        {"a phrase for the last string", withPhrase, true},
    };
    job.settings.batchSize = 1;
    job.settings.concurrency = 2;
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        server.clearRequests();
        job.softwareReference = row.reference;

        run({mainString("a", "Add"), mainString("b", "Bold"), mainString("c", "Clear History")});

        const std::string expected =
            Prompt::translateSystem(job.app, job.language, job.notes, job.style, job.terms, row.phrases);
        ASSERT_EQ(server.requests().size(), 3u);
        for (const auto& request : server.requests())
            EXPECT_EQ(request.json()["messages"][0]["content"], expected);
    }
}

TEST_F(RunDriver, AFailingBatchInAWindowOfOneStopsTheBatchesAfterIt) {
    job.settings.batchSize = 1;
    job.settings.concurrency = 1;

    try {
        run({mainString("a", "Add"), mainString("b", "boom"), mainString("c", "Copy")});
        FAIL() << "the run must fail";
    } catch (const ChatError& error) {
        EXPECT_EQ(error.statusCode(), 401);
    }

    EXPECT_EQ(batchesSent(), (std::vector<std::vector<std::string>>{{"Add"}, {"boom"}}))
        << "the third batch never starts";
    EXPECT_EQ(progresses(), (std::vector<Progress>{{1, 3, 0}})) << "the first batch stays reported";
}

TEST_F(RunDriver, AFailureOrAStopCancelsTheBatchesStillRunning) {
    struct Case {
        std::string name;
        std::vector<std::string> texts;
        bool stopFromOutside;
    };
    const std::vector<Case> cases{
        {"a batch fails while two others wait for their answers", {"Add", "boom", "Copy"}, false},
        {"the caller stops the run", {"Add", "Bold", "Copy"}, true},
    };
    job.settings.batchSize = 1;
    job.settings.concurrency = 3;
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        server.clearRequests();
        reports.clear();
        // The answers other than the refusal come only after the run has ended; the state outlives the
        // case, since the held answers may still be on their way when the next case begins.
        struct Gate {
            std::mutex lock;
            std::condition_variable changed;
            bool open = false;
        };
        const auto gate = std::make_shared<Gate>();
        server.respond([gate, this](const RecordedRequest& request) {
            server.waitForRequests(3);
            if (translateItemsOf(request)[0]["text"] == "boom")
                return scriptedAnswer(request);
            std::unique_lock guard(gate->lock);
            gate->changed.wait(guard, [&] { return gate->open; });
            return scriptedAnswer(request);
        });
        std::stop_source stop;
        std::jthread stopper;
        if (row.stopFromOutside)
            stopper = std::jthread([&] {
                server.waitForRequests(3);
                stop.request_stop();
            });

        if (row.stopFromOutside)
            EXPECT_THROW(run(inOrder(row.texts), stop.get_token()), CancellationError);
        else
            EXPECT_THROW(run(inOrder(row.texts), stop.get_token()), ChatError);

        {
            std::lock_guard guard(gate->lock);
            gate->open = true;
        }
        gate->changed.notify_all();
        EXPECT_EQ(server.requests().size(), 3u);
        EXPECT_TRUE(progresses().empty()) << "no batch that was cancelled is reported";
    }
}
