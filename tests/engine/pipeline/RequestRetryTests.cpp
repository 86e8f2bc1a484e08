#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "core/Cancellation.h"
#include "engine/model/ChatError.h"
#include "engine/model/HttpTransfer.h"
#include "engine/model/JudgeRequest.h"
#include "engine/model/TermsRequest.h"
#include "engine/pipeline/TermChoice.h"
#include "engine/pipeline/TranslationJob.h"
#include "tests/support/LoopbackServer.h"

using namespace orvel;
using namespace std::chrono_literals;
using orvel::testing::completionBody;
using orvel::testing::LoopbackServer;
using orvel::testing::Reply;

namespace {

ModelSettings settingsFor(const std::string& endpoint) {
    ModelSettings settings;
    settings.endpoint = endpoint;
    settings.model = "test-model";
    settings.jsonMode = true;
    settings.timeout = 30;
    return settings;
}

Reply rateLimit(std::optional<std::string> retryAfter = std::nullopt) {
    if (!retryAfter)
        return {429, R"({"error": "slow down"})"};
    return {429, R"({"error": "slow down"})", {{"Retry-After", *retryAfter}}};
}

class ModelRequests : public ::testing::Test {
  protected:
    ModelRequests()
        : job(AppProfile("Notes", "en"), "de", settingsFor(server.url("/v1")), AppNotes{}, ContextMap{},
              TranslationStyle{}, {}, false, false) {
        job.retryPause = [this](std::chrono::nanoseconds duration, const std::stop_token&) {
            std::lock_guard guard(m_lock);
            m_pauses.push_back(duration);
        };
    }

    std::vector<std::chrono::nanoseconds> pauses() {
        std::lock_guard guard(m_lock);
        return m_pauses;
    }

    ChatError failure(const std::stop_token& stop = {}) {
        try {
            job.requestTranslations("system", "user", stop);
        } catch (const ChatError& error) {
            return error;
        }
        ADD_FAILURE() << "the request did not fail with a ChatError";
        return ChatError::emptyResponse();
    }

    void expectWaitBetween(std::chrono::nanoseconds wait, double low, double high) {
        EXPECT_GE(wait, RequestRetry::nanoseconds(low));
        EXPECT_LE(wait, RequestRetry::nanoseconds(high));
    }

    LoopbackServer server;
    TranslationJob job;

  private:
    std::mutex m_lock;
    std::vector<std::chrono::nanoseconds> m_pauses;
};

} // namespace

TEST_F(ModelRequests, EachTrySendsTheSystemThenTheUserMessageAskingForJson) {
    server.reply({{500, "busy"}, {200, completionBody("{\"translations\": []}")}});
    EXPECT_EQ(job.requestTranslations("You translate.", "Translate these 1 strings:", {}),
              "{\"translations\": []}");
    ASSERT_EQ(server.requests().size(), 2u);
    for (const auto& request : server.requests()) {
        const json::Json body = request.json();
        EXPECT_EQ(body["messages"], json::Json::parse(R"([{"role": "system", "content": "You translate."},
                                                          {"role": "user", "content": "Translate these 1 strings:"}])"));
        EXPECT_EQ(body["response_format"]["type"], "json_object");
    }
}

TEST_F(ModelRequests, RequestsTheEndpointRefusesForWhatTheyAreEndAtOnce) {
    for (const int status : {400, 401, 403, 404}) {
        LoopbackServer refusing;
        job.settings.endpoint = refusing.url("/v1");
        refusing.reply({{status, "refused " + std::to_string(status)}});
        const ChatError error = failure();
        EXPECT_EQ(error.kind(), ChatError::Kind::http);
        EXPECT_EQ(error.statusCode(), status);
        EXPECT_EQ(error.text(), "refused " + std::to_string(status));
        EXPECT_EQ(refusing.requests().size(), 1u) << status;
    }
    EXPECT_TRUE(pauses().empty());
}

TEST_F(ModelRequests, OtherFailuresAreTriedThreeTimesWithGrowingPauses) {
    for (const int status : {402, 405, 408, 500, 503}) {
        LoopbackServer failing;
        job.settings.endpoint = failing.url("/v1");
        failing.reply(
            {{status, "first"}, {status, "second"}, {status, "third"}, {200, completionBody("late")}});
        const ChatError error = failure();
        EXPECT_EQ(error.statusCode(), status);
        EXPECT_EQ(error.text(), "third") << "the error of the last try is the one thrown";
        EXPECT_EQ(failing.requests().size(), 3u) << status;
    }
    const auto waits = pauses();
    ASSERT_EQ(waits.size(), 10u);
    for (std::size_t i = 0; i < waits.size(); i += 2) {
        EXPECT_EQ(waits[i], 1s);
        EXPECT_EQ(waits[i + 1], 3s);
    }
}

TEST_F(ModelRequests, EmptyAnswersAndUnreachableEndpointsAreOrdinaryFailures) {
    server.reply({{200, completionBody("")}, {200, "<html>gateway</html>"}, {200, completionBody("Hallo")}});
    EXPECT_EQ(job.requestTranslations("s", "u", {}), "Hallo");
    EXPECT_EQ(server.requests().size(), 3u);

    std::string closed;
    {
        LoopbackServer gone;
        closed = gone.url("/v1");
    }
    job.settings.endpoint = closed;
    EXPECT_THROW(job.requestTranslations("s", "u", {}), TransportError);
    EXPECT_EQ(pauses(), (std::vector<std::chrono::nanoseconds>{1s, 3s, 1s, 3s}));
}

TEST_F(ModelRequests, RateLimitsAreWaitedOutForTheTimeAskedHeldWithinBounds) {
    const struct {
        std::optional<std::string> retryAfter;
        double low;
    } cases[] = {{"30", 30}, {"0.5", 2}, {"200", 120}, {"300", 120}, {std::nullopt, 20}, {"soon", 20}};
    for (const auto& limit : cases) {
        LoopbackServer limited;
        job.settings.endpoint = limited.url("/v1");
        limited.reply({rateLimit(limit.retryAfter), {200, completionBody("ok")}});
        const std::size_t before = pauses().size();
        EXPECT_EQ(job.requestTranslations("s", "u", {}), "ok");
        ASSERT_EQ(pauses().size(), before + 1);
        expectWaitBetween(pauses().back(), limit.low, limit.low + 2);
    }
}

TEST_F(ModelRequests, ARateLimitAskingForMoreThanFiveMinutesEndsTheCall) {
    server.reply({rateLimit("301"), {200, completionBody("ok")}});
    const ChatError error = failure();
    EXPECT_EQ(error.kind(), ChatError::Kind::rateLimited);
    EXPECT_EQ(error.retryAfter(), 301);
    EXPECT_EQ(server.requests().size(), 1u);
    EXPECT_TRUE(pauses().empty());
}

TEST_F(ModelRequests, NineRateLimitsInARowMakeEightWaitsThenFail) {
    server.reply({rateLimit("3")});
    const ChatError error = failure();
    EXPECT_EQ(error.kind(), ChatError::Kind::rateLimited);
    EXPECT_EQ(server.requests().size(), 9u);
    EXPECT_EQ(pauses().size(), 8u);
}

TEST_F(ModelRequests, RateLimitsDoNotUseUpTries) {
    server.reply({rateLimit("5"),
                  {500, "one"},
                  rateLimit("5"),
                  {500, "two"},
                  {500, "three"},
                  {200, completionBody("too late")}});
    const ChatError error = failure();
    EXPECT_EQ(error.text(), "three");
    EXPECT_EQ(server.requests().size(), 5u);
    const auto waits = pauses();
    ASSERT_EQ(waits.size(), 4u);
    expectWaitBetween(waits[0], 5, 7);
    EXPECT_EQ(waits[1], 1s);
    expectWaitBetween(waits[2], 5, 7);
    EXPECT_EQ(waits[3], 3s) << "a rate limit leaves the pause as it was";
}

TEST_F(ModelRequests, AStopDuringAPauseEndsTheCallWithoutAnotherTry) {
    job.retryPause = {};
    server.reply({{500, "busy"}, {200, completionBody("ok")}});
    std::stop_source stop;
    // Timed from the stop, which comes as the pause begins: the first request's own time, long on a
    // loaded machine, does not count.
    std::atomic<std::chrono::steady_clock::time_point> stopped{};
    std::jthread stopper([&] {
        server.waitForRequests(1);
        stopped = std::chrono::steady_clock::now();
        stop.request_stop();
    });
    EXPECT_THROW(job.requestTranslations("s", "u", stop.get_token()), CancellationError);
    EXPECT_LT(std::chrono::steady_clock::now() - stopped.load(), 600ms)
        << "the one-second pause was cut short";
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST_F(ModelRequests, AStopSeenOnlyAfterAPauseStartsNoOtherTry) {
    server.reply({{500, "busy"}, {200, completionBody("ok")}});
    std::stop_source stop;
    job.retryPause = [&](std::chrono::nanoseconds, const std::stop_token&) { stop.request_stop(); };
    EXPECT_THROW(job.requestTranslations("s", "u", stop.get_token()), CancellationError);
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST_F(ModelRequests, EachKindSendsItsOwnUserMessageWithItsOwnSettings) {
    server.reply({{200, completionBody("answer")}});
    EXPECT_EQ(job.requestReview("review system", "review user", {}), "answer");

    LoopbackServer judge;
    judge.reply({{500, "busy"}, {200, completionBody("verdicts")}});
    ModelSettings judgeSettings = settingsFor(judge.url("/judge"));
    judgeSettings.model = "judge-model";
    const Prompt::JudgeItem change{"1", "Save", "Sichern", "Speichern"};
    EXPECT_EQ(job.requestVerdicts({change}, "judge system", judgeSettings, {}), "verdicts");
    ASSERT_EQ(judge.requests().size(), 2u);
    const json::Json judged = judge.requests().back().json();
    EXPECT_EQ(judged["model"], "judge-model");
    EXPECT_EQ(judged["messages"][1]["content"], Prompt::judgeUser({change}));

    EXPECT_EQ(Terms::request(job, {{"Library", {"Open Library"}}}, "terms system", {}), "answer");
    const auto sent = server.requests();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].json()["messages"][1]["content"], "review user");
    EXPECT_EQ(sent[1].json()["messages"][0]["content"], "terms system");
    EXPECT_EQ(sent[1].json()["messages"][1]["content"], Prompt::termsUser({{"Library", {"Open Library"}}}));
    EXPECT_EQ(sent[1].json()["model"], "test-model");
}

TEST(RateLimitWait, NamesAFiniteWaitForEveryRetryAfter) {
    EXPECT_EQ(RequestRetry::rateLimitBaseSeconds(std::nullopt), 20);
    EXPECT_EQ(RequestRetry::rateLimitBaseSeconds(std::numeric_limits<double>::quiet_NaN()), 20);
    EXPECT_EQ(RequestRetry::rateLimitBaseSeconds(-5), 2);
    EXPECT_EQ(RequestRetry::rateLimitBaseSeconds(45.5), 45.5);
    EXPECT_EQ(RequestRetry::rateLimitBaseSeconds(250), 120);
    EXPECT_EQ(RequestRetry::nanoseconds(1.9999999999), 1999999999ns);
}
