#include <gtest/gtest.h>

#include "engine/model/ChatError.h"
#include "engine/model/ChatMessage.h"

using namespace orvel;

TEST(ChatMessage, EqualityComparesRoleAndContent) {
    EXPECT_NE(ChatMessage::system("Hi"), ChatMessage::user("Hi"));
    EXPECT_EQ(ChatMessage::user("Hi"), (ChatMessage{"user", "Hi"}));
    EXPECT_EQ(ChatMessage::system("Hi").role, "system");
}

TEST(ChatMessage, EncodesExactlyRoleAndContent) {
    const auto message = ChatMessage::user("Übersetze \"Save\"");
    const json::Json encoded = json::parse(json::dump(message.toJson()));
    EXPECT_EQ(encoded, (json::Json{{"role", "user"}, {"content", "Übersetze \"Save\""}}));
    EXPECT_EQ(ChatMessage::fromJson(encoded), message);
    EXPECT_THROW(ChatMessage::fromJson(json::Json{{"role", "user"}}), json::DecodingError);
}

TEST(ChatError, DescriptionsNameTheCaseAndItsPayload) {
    EXPECT_STREQ(ChatError::badEndpoint(" x ").what(), "The endpoint is not a valid URL:  x ");
    EXPECT_STREQ(ChatError::http(503, "busy").what(), "The endpoint answered 503: busy");
    EXPECT_STREQ(ChatError::unavailable("the model is still downloading").what(),
                 "The model is not available: the model is still downloading");
    EXPECT_STREQ(ChatError::emptyResponse().what(), "The endpoint answered with no text");
    EXPECT_STREQ(ChatError::notJSON("plain").what(), "The model did not answer with JSON: plain");
    const auto limited = ChatError::rateLimited(7.5, "slow down");
    EXPECT_EQ(limited.kind(), ChatError::Kind::rateLimited);
    EXPECT_EQ(limited.retryAfter(), 7.5);
    EXPECT_EQ(limited.errorDescription(), "The endpoint is limiting requests: slow down");
}

TEST(ChatError, LongTextsShowOnlyTheirFirst300Characters) {
    // Characters, not bytes: "é" written as e and a combining accent is one character of three bytes.
    std::string body;
    for (int i = 0; i < 500; ++i)
        body += "e\u0301";
    std::string first300;
    for (int i = 0; i < 300; ++i)
        first300 += "e\u0301";
    EXPECT_EQ(ChatError::rateLimited(std::nullopt, body).errorDescription(),
              "The endpoint is limiting requests: " + first300);
    EXPECT_EQ(ChatError::notJSON(body).errorDescription(), "The model did not answer with JSON: " + first300);
    EXPECT_EQ(ChatError::notJSON(body).text(), body);
    // The HTTP error shows its body as held: the client has already cut it.
    const std::string long600(600, 'x');
    EXPECT_EQ(ChatError::http(500, long600).errorDescription(), "The endpoint answered 500: " + long600);
}
