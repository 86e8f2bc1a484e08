#include <gtest/gtest.h>

#include "engine/model/ChatClient.h"
#include "engine/model/ChatError.h"
#include "tests/support/LoopbackServer.h"

using namespace orvel;
using orvel::testing::completionBody;

TEST(ChatClientAnswers, StripThinkingRemovesReasoningBlocks) {
    EXPECT_EQ(ChatClient::stripThinking("<think>a</think> Hallo <think>b\nc</think>\n"), "Hallo");
    EXPECT_EQ(ChatClient::stripThinking("I think this</think>\n  Answer "), "Answer");
    EXPECT_EQ(ChatClient::stripThinking("Answer <think> unfinished"), "Answer <think> unfinished");
    EXPECT_EQ(ChatClient::stripThinking("<think>only reasoning</think>"), "");
    EXPECT_EQ(ChatClient::stripThinking("</think>x<think>y</think>z"), "xz");
    EXPECT_EQ(ChatClient::stripThinking("\u00A0\u3000Text\u2028"), "Text");
}

TEST(ChatClientAnswers, AnswerTextReadsTheFirstChoice) {
    EXPECT_EQ(ChatClient::answerText(completionBody("Hallo")), "Hallo");
    EXPECT_EQ(ChatClient::answerText(completionBody("")), "");
    EXPECT_EQ(
        ChatClient::answerText(completionBody(json::Json::array(
            {{{"type", "text"}, {"text", "Hel"}}, {{"type", "image"}}, {{"text", 3}}, {{"text", "lo"}}}))),
        "Hello");
    EXPECT_FALSE(ChatClient::answerText(completionBody(nullptr)));
    EXPECT_FALSE(ChatClient::answerText(completionBody(json::Json::array({"Hel", "lo"}))));
    EXPECT_FALSE(ChatClient::answerText(R"({"choices": []})"));
    EXPECT_FALSE(ChatClient::answerText(R"({"choices": [{"text": "legacy"}]})"));
    EXPECT_FALSE(ChatClient::answerText(R"([{"message": {"content": "x"}}])"));
    EXPECT_FALSE(ChatClient::answerText("<html>Bad gateway</html>"));
    EXPECT_EQ(ChatClient::answerText(
                  R"({"choices": [{"message": {"content": "a"}}, {"message": {"content": "b"}}]})"),
              "a");
}

TEST(ChatClientAnswers, RetryDelayReadsEitherWording) {
    EXPECT_EQ(ChatClient::retryDelay("Rate limit reached. Please RETRY IN 12.5s."), 12.5);
    EXPECT_EQ(ChatClient::retryDelay(R"({"error": {"details": [{"retryDelay": "30s"}]}})"), 30);
    EXPECT_EQ(ChatClient::retryDelay(R"(retry in 4 seconds, "retryDelay": "9s")"), 4);
    // A first wording without a readable number gives way to the second.
    EXPECT_EQ(ChatClient::retryDelay(R"(retry in 1.2.3s; "retryDelay": "9s")"), 9);
    EXPECT_FALSE(ChatClient::retryDelay("retry in ... s"));
    EXPECT_FALSE(ChatClient::retryDelay("Too many requests"));
    EXPECT_FALSE(ChatClient::retryDelay(""));
    // A number too large to be a double is not a delay one could wait for.
    EXPECT_FALSE(ChatClient::retryDelay("retry in " + std::string(400, '9') + "s"));
}

TEST(ChatClientAnswers, JsonObjectFindsTheListOfItems) {
    const auto wrapped = ChatClient::jsonObject(
        R"(Here you go: {"translations": [{"id": "1", "text": "Sichern"}]} Hope it helps.)", "translations");
    ASSERT_TRUE(wrapped);
    ASSERT_EQ(wrapped->size(), 1u);
    EXPECT_EQ((*wrapped)[0]["text"], "Sichern");

    const auto otherKey =
        ChatClient::jsonObject(R"({"items": [{"id": "1"}, {"id": "2"}], "note": "x"})", "terms");
    ASSERT_TRUE(otherKey);
    EXPECT_EQ(otherKey->size(), 2u);

    EXPECT_FALSE(ChatClient::jsonObject(R"({"a": [{"id": 1}], "b": [{"id": 2}]})", "fixes"));
    const auto preferred = ChatClient::jsonObject(R"({"a": [{"id": 1}], "fixes": [{"id": 2}]})", "fixes");
    ASSERT_TRUE(preferred);
    EXPECT_EQ((*preferred)[0]["id"], 2);

    const auto bare = ChatClient::jsonObject("Sure!\n[{\"verdict\": \"keep\"}]\n", "verdicts");
    ASSERT_TRUE(bare);
    EXPECT_EQ((*bare)[0]["verdict"], "keep");

    EXPECT_FALSE(ChatClient::jsonObject(R"({"translations": ["a", "b"]})", "translations"));
    EXPECT_FALSE(ChatClient::jsonObject("} no json {", "translations"));
    EXPECT_FALSE(ChatClient::jsonObject("", "translations"));
}

TEST(ChatClientAnswers, DecodeJsonReadsOneObjectOrFails) {
    EXPECT_EQ(ChatClient::decodeJSON(R"({"ok": true})")["ok"], true);
    EXPECT_EQ(ChatClient::decodeJSON("```json\n{\"ok\": 1}\n```")["ok"], 1);
    for (const std::string text : {"no braces at all", "[1, 2]", "} reversed {", "{broken"}) {
        try {
            ChatClient::decodeJSON(text);
            ADD_FAILURE() << text;
        } catch (const ChatError& error) {
            EXPECT_EQ(error.kind(), ChatError::Kind::notJSON);
            EXPECT_EQ(error.text(), text);
        }
    }
}

TEST(ChatClientAnswers, AbsurdlyNestedAnswersAreRefusedWithoutExhaustingTheStack) {
    const auto nested = [](int depth) {
        return "{\"translations\": [{\"id\": " + std::string(depth, '[') + std::string(depth, ']') + "}]}";
    };
    const auto ordinary = ChatClient::jsonObject(nested(100), "translations");
    ASSERT_TRUE(ordinary);
    EXPECT_EQ(ordinary->size(), 1u);
    EXPECT_EQ(ChatClient::decodeJSON(nested(100)).size(), 1u);

    const std::string hostile = nested(200'000);
    EXPECT_FALSE(ChatClient::jsonObject(hostile, "translations"));
    EXPECT_THROW(ChatClient::decodeJSON(hostile), ChatError);
    EXPECT_FALSE(ChatClient::answerText(completionBody(json::Json::array()) + std::string(200'000, '[')));
}
