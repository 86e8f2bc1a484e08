#pragma once
// A model on the loopback interface that answers every request after a fixed time: each text of a
// translate request marked as translated, each term of a key-term request given a word. What the
// benchmarks of whole runs measure against.

#include <chrono>
#include <string>
#include <thread>

#include "core/Json.h"
#include "tests/support/LoopbackServer.h"

namespace orvel::bench {

inline std::string userMessage(const testing::RecordedRequest& request) {
    return request.json()["messages"][1]["content"];
}

// A request of the key-term choice, which a run makes before its first batch.
inline bool asksForTerms(const testing::RecordedRequest& request) {
    return userMessage(request).starts_with("Choose the words for these ");
}

// The texts of a translate request, as the model reads them.
inline json::Json askedTexts(const testing::RecordedRequest& request) {
    const std::string user = userMessage(request);
    const std::string countLine = " strings:\n";
    return json::parse(user.substr(user.rfind(countLine) + countLine.size()));
}

// Whether a translate request asks for strings again, after their answer failed its check: each of its
// texts carries the problem. A re-ask is no batch of its own, so a run that re-asks takes longer than
// the bound of its batches.
inline bool reasks(const testing::RecordedRequest& request) {
    const json::Json texts = askedTexts(request);
    return !texts.empty() && texts.front().contains("problem");
}

inline testing::Reply answerAfter(const testing::RecordedRequest& request, std::chrono::milliseconds time) {
    std::this_thread::sleep_for(time);
    const std::string user = userMessage(request);
    if (asksForTerms(request)) {
        json::Json terms = json::Json::array();
        for (const auto& item : json::parse(user.substr(user.find('\n') + 1)))
            terms.push_back(
                {{"term", item["term"]}, {"translation", "DE " + item["term"].get<std::string>()}});
        return {200, testing::completionBody(json::dump(json::Json{{"terms", terms}}))};
    }
    json::Json translations = json::Json::array();
    for (const auto& item : askedTexts(request)) {
        const std::string text = item["text"];
        // A text that begins with its placeholder keeps it there, as the answer check asks: one request
        // a batch, like a model that answers well.
        translations.push_back(
            {{"id", item["id"]}, {"text", text.starts_with('%') ? text + " DE" : "DE " + text}});
    }
    return {200, testing::completionBody(json::dump(json::Json{{"translations", translations}}))};
}

} // namespace orvel::bench
