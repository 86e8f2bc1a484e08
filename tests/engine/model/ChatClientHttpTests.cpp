#include <gtest/gtest.h>

#include <future>
#include <system_error>

#include "HeldNameLookup.h"
#include "core/Cancellation.h"
#include "engine/model/AppleModels.h"
#include "engine/model/ChatClient.h"
#include "engine/model/ChatError.h"
#include "engine/model/HttpTransfer.h"
#include "tests/support/LoopbackServer.h"

using namespace orvel;
using orvel::testing::completionBody;
using orvel::testing::LoopbackServer;
using orvel::testing::Reply;

namespace {

const std::vector<ChatMessage> messages{ChatMessage::system("You translate."), ChatMessage::user("Save")};

class ChatClientHttp : public ::testing::Test {
  protected:
    ChatClient client(const std::string& path = "/v1") const {
        ModelSettings settings;
        settings.endpoint = server.url(path);
        settings.model = "test-model";
        settings.jsonMode = true;
        settings.timeout = 30;
        return ChatClient{settings};
    }

    ChatError failure(const ChatClient& chat, bool json = false) {
        try {
            chat.complete(messages, json);
        } catch (const ChatError& error) {
            return error;
        }
        ADD_FAILURE() << "the request did not fail with a ChatError";
        return ChatError::emptyResponse();
    }

    LoopbackServer server;
};

ChatClient withAllOptionalFields(ChatClient chat) {
    chat.settings.temperature = 0.2;
    chat.settings.reasoningEffort = "low";
    return chat;
}

} // namespace

TEST_F(ChatClientHttp, EveryEndpointFormReachesOneCompletionsPath) {
    for (const std::string path :
         {"/v1", "/v1/", "/v1//", "/v1/chat/completions", "/v1/chat/completions/", "/v1/chat/completions//"})
        EXPECT_EQ(client(path).complete(messages, false), "ok") << path;
    ChatClient spaced = client();
    spaced.settings.endpoint = " \n" + spaced.settings.endpoint + "/\t\n";
    EXPECT_EQ(spaced.complete(messages, false), "ok");
    for (const auto& request : server.requests())
        EXPECT_EQ(request.path, "/v1/chat/completions");
    EXPECT_EQ(server.requests().size(), 7u);
}

TEST_F(ChatClientHttp, EndpointsWithoutAUsableUrlFailBeforeSending) {
    for (const std::string& endpoint :
         std::vector<std::string>{"", "   ", "api.example.com/v1", "http://exa mple.com/v1", "http://",
                                  server.url() + std::string(1, '\0') + "/v1"}) {
        ChatClient chat = client();
        chat.settings.endpoint = endpoint;
        const ChatError error = failure(chat);
        EXPECT_EQ(error.kind(), ChatError::Kind::badEndpoint) << endpoint;
        EXPECT_EQ(error.text(), endpoint);
    }
    // A URL of another kind is formed but cannot be sent over HTTP.
    ChatClient other = client();
    other.settings.endpoint = "ftp://127.0.0.1/v1";
    EXPECT_THROW(other.complete(messages, false), TransportError);
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(ChatClientHttp, AppleEndpointsAreRecognisedOnlyWhenWrittenExactly) {
    AppleModels::Platform platform;
    platform.shortcutsTool = "/nonexistent/shortcuts";
    AppleModels::setPlatform(platform);
    ChatClient chat = client();
    chat.settings.endpoint = "  APPLE:ChatGPT\n";
    EXPECT_THROW(chat.complete(messages, false), std::system_error);
    chat.settings.endpoint = "Apple:On-Device ";
    try {
        chat.complete(messages, false);
        ADD_FAILURE();
    } catch (const ChatError& error) {
        EXPECT_EQ(error.kind(), ChatError::Kind::unavailable);
    }
    chat.settings.endpoint = "apple:chatgpt/";
    EXPECT_THROW(chat.complete(messages, false), TransportError);
    AppleModels::setPlatform({});
}

TEST_F(ChatClientHttp, HeadersCarryTheKeyOnlyWhenThereIsOne) {
    ChatClient chat = client();
    chat.complete(messages, false);
    chat.settings.apiKey = "";
    chat.complete(messages, false);
    chat.settings.apiKey = "sk-test";
    chat.complete(messages, false);
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 3u);
    for (const auto& request : requests) {
        EXPECT_EQ(request.headerCount("Content-Type"), 1u);
        EXPECT_EQ(request.header("Content-Type"), "application/json");
    }
    EXPECT_FALSE(requests[0].hasHeader("Authorization"));
    EXPECT_FALSE(requests[1].hasHeader("Authorization"));
    EXPECT_EQ(requests[2].header("Authorization"), "Bearer sk-test");

    // A key with a line break would smuggle in a header of its own.
    chat.settings.apiKey = "sk-test\r\nX-Injected: 1";
    EXPECT_THROW(chat.complete(messages, false), std::invalid_argument);
    EXPECT_EQ(server.requests().size(), 3u);
}

TEST_F(ChatClientHttp, BodyCarriesOnlyTheFieldsThatApply) {
    ChatClient chat = client();
    chat.settings.jsonMode = false;
    chat.complete(messages, true);
    chat.settings.jsonMode = true;
    chat.complete(messages, false);
    chat.settings.reasoningEffort = "";
    chat.complete({}, true);
    withAllOptionalFields(chat).complete(messages, true);

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 4u);
    const json::Json expectedMessages = json::Json::array(
        {{{"role", "system"}, {"content", "You translate."}}, {{"role", "user"}, {"content", "Save"}}});
    const json::Json plain = requests[0].json();
    EXPECT_EQ(plain, (json::Json{{"model", "test-model"}, {"messages", expectedMessages}}));
    EXPECT_FALSE(requests[1].json().contains("response_format"));
    const json::Json empty = requests[2].json();
    EXPECT_EQ(empty["messages"], json::Json::array());
    EXPECT_EQ(empty["response_format"], (json::Json{{"type", "json_object"}}));
    EXPECT_FALSE(empty.contains("reasoning_effort"));
    const json::Json full = requests[3].json();
    EXPECT_EQ(full["temperature"], 0.2);
    EXPECT_EQ(full["reasoning_effort"], "low");
    EXPECT_EQ(full["response_format"]["type"], "json_object");

    chat.settings.temperature = std::numeric_limits<double>::quiet_NaN();
    EXPECT_THROW(chat.complete(messages, false), std::invalid_argument);
}

TEST_F(ChatClientHttp, BadRequestDropsOneNamedFieldPerResend) {
    server.reply({{400, "Unsupported: temperature; also response_format is not allowed"}});
    const ChatError error = failure(withAllOptionalFields(client()), true);
    auto requests = server.requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_TRUE(requests[0].json().contains("temperature"));
    EXPECT_FALSE(requests[1].json().contains("temperature"));
    EXPECT_TRUE(requests[1].json().contains("response_format"));
    EXPECT_FALSE(requests[2].json().contains("response_format"));
    EXPECT_TRUE(requests[2].json().contains("reasoning_effort"));
    EXPECT_EQ(error.kind(), ChatError::Kind::http);
    EXPECT_EQ(error.statusCode(), 400);
}

TEST_F(ChatClientHttp, BadRequestNamingAllThreeFieldsSendsFourTimesAtMost) {
    const std::string complaint =
        "temperature, response_format and reasoning are unsupported" + std::string(700, '.');
    server.reply({{400, complaint}});
    const ChatError error = failure(withAllOptionalFields(client()), true);
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 4u);
    const json::Json last = requests[3].json();
    EXPECT_FALSE(last.contains("temperature") || last.contains("response_format") ||
                 last.contains("reasoning_effort"));
    EXPECT_EQ(error.text(), complaint.substr(0, 600));
}

TEST_F(ChatClientHttp, BadRequestWithNothingToDropEndsAtOnce) {
    server.reply({{400, "temperature is out of range"}});
    ChatClient chat = client();
    chat.settings.reasoningEffort = "high";
    const ChatError error = failure(chat, true);
    EXPECT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(error.errorDescription(), "The endpoint answered 400: temperature is out of range");
}

TEST_F(ChatClientHttp, BadRequestThenSuccessReturnsTheAnswer) {
    server.reply({{400, "reasoning_effort: unknown parameter"}, {200, completionBody(" Sichern ")}});
    ChatClient chat = client();
    chat.settings.reasoningEffort = "high";
    EXPECT_EQ(chat.complete(messages, false), "Sichern");
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_FALSE(requests[1].json().contains("reasoning_effort"));
    // The settings keep the field for the next call.
    EXPECT_EQ(chat.settings.reasoningEffort, "high");
}

TEST_F(ChatClientHttp, RateLimitTakesTheDelayFromHeaderThenBody) {
    struct Case {
        std::map<std::string, std::string> headers;
        std::string body;
        std::optional<double> delay;
    };
    const Case cases[] = {
        {{{"Retry-After", "7"}}, "Please retry in 3s", 7},
        {{{"Retry-After", "Wed, 21 Oct 2015 07:28:00 GMT"}}, "Please retry in 12.5s", 12.5},
        {{}, R"({"error": {"details": [{"retryDelay": "30s"}]}})", 30},
        {{}, "Too many requests", std::nullopt},
        // Delays that cannot be waited for count as absent.
        {{{"Retry-After", "nan"}}, "retry in 2s", 2},
        {{{"Retry-After", "inf"}}, "retry in 2s", 2},
        {{{"Retry-After", "-5"}}, "", std::nullopt},
        {{{"Retry-After", "1e999"}}, "", std::nullopt},
        {{{"Retry-After", "0"}}, "retry in 2s", 0},
    };
    for (const auto& c : cases) {
        server.reply({{429, c.body, c.headers}});
        const ChatError error = failure(client());
        EXPECT_EQ(error.kind(), ChatError::Kind::rateLimited);
        EXPECT_EQ(error.retryAfter(), c.delay) << c.body;
        EXPECT_EQ(error.text(), c.body);
    }
    EXPECT_EQ(server.requests().size(), std::size(cases));
}

TEST_F(ChatClientHttp, ErrorBodiesAreCutAsBytesAndDecodedLossily) {
    server.reply({{429, std::string(2500, 'x')}});
    EXPECT_EQ(failure(client()).text().size(), 2000u);

    // 599 ASCII bytes and then a two-byte letter: the cut splits the letter.
    server.reply({{503, std::string(599, 'a') + "\u00E9\u00E9"}});
    const ChatError error = failure(client());
    EXPECT_EQ(error.statusCode(), 503);
    EXPECT_EQ(error.text(), std::string(599, 'a') + "\uFFFD");

    server.reply({{302, ""}});
    EXPECT_EQ(failure(client()).statusCode(), 302);
}

TEST_F(ChatClientHttp, SuccessfulAnswersOfEveryShape) {
    server.reply({{200, completionBody("<think>plan</think>\n Speichern\n")},
                  {200, completionBody(json::Json::array({{{"text", "Hel"}}, {{"text", "lo"}}}))},
                  {200, completionBody("<think>only reasoning</think>")},
                  {200, completionBody("e\u0301")},
                  {200, completionBody(nullptr)},
                  {200, R"({"choices": []})"},
                  {200, completionBody("")},
                  {204, ""}});
    const ChatClient chat = client();
    EXPECT_EQ(chat.complete(messages, false), "Speichern");
    EXPECT_EQ(chat.complete(messages, false), "Hello");
    EXPECT_EQ(chat.complete(messages, false), "");
    EXPECT_EQ(chat.complete(messages, false), "\u00E9");
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(failure(chat).kind(), ChatError::Kind::emptyResponse) << i;
}

TEST_F(ChatClientHttp, StopRequestEndsASlowRequestAtOnce) {
    server.holdReplies();
    std::stop_source stop;
    auto call =
        std::async(std::launch::async, [&] { return client().complete(messages, false, stop.get_token()); });
    server.waitForRequests(1);
    stop.request_stop();
    EXPECT_THROW(call.get(), CancellationError);

    std::stop_source stopped;
    stopped.request_stop();
    EXPECT_THROW(client().complete(messages, false, stopped.get_token()), CancellationError);
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST_F(ChatClientHttp, StopRequestDuringTheHostNameLookupEndsAtOnce) {
    // A name server that does not answer must not keep a stopped request waiting for it.
    orvel::testing::holdLookups();
    ChatClient chat = client();
    chat.settings.endpoint = "http://" + std::string(orvel::testing::heldHostName) + "/v1";
    chat.settings.timeout = 60;
    std::stop_source stop;
    auto call =
        std::async(std::launch::async, [&] { return chat.complete(messages, false, stop.get_token()); });
    const bool lookupBegan = orvel::testing::waitForHeldLookup();
    stop.request_stop();
    const bool ended = call.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    orvel::testing::releaseHeldLookups();
    ASSERT_TRUE(lookupBegan);
    EXPECT_TRUE(ended);
    EXPECT_THROW(call.get(), CancellationError);
}

TEST_F(ChatClientHttp, TimeOutAndRefusedConnectionAreTransportErrors) {
    server.holdReplies();
    ChatClient slow = client();
    slow.settings.timeout = 0.2;
    try {
        slow.complete(messages, false);
        ADD_FAILURE();
    } catch (const TransportError& error) {
        EXPECT_TRUE(error.timedOut());
    }
    server.release();

    ChatClient closed = client();
    {
        LoopbackServer gone;
        closed.settings.endpoint = gone.url("/v1");
    }
    try {
        closed.complete(messages, false);
        ADD_FAILURE();
    } catch (const TransportError& error) {
        EXPECT_FALSE(error.timedOut());
    }
}
