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
    const std::string countLine = " strings:\n";
    json::Json translations = json::Json::array();
    for (const auto& item : json::parse(user.substr(user.rfind(countLine) + countLine.size()))) {
        const std::string text = item["text"];
        // A text that begins with its placeholder keeps it there, as the answer check asks: one request
        // a batch, like a model that answers well.
        translations.push_back({{"id", item["id"]}, {"text", text.starts_with('%') ? text + " DE" : "DE " + text}});
    }
    return {200, testing::completionBody(json::dump(json::Json{{"translations", translations}}))};
}

} // namespace orvel::bench
