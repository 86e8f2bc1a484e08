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

// A request to the model as it reads it, its body parsed once: the benchmark's server answers while the
// run waits, so what it spends counts against the program.
struct ModelQuestion {
    explicit ModelQuestion(const testing::RecordedRequest& request)
        : arrived(request.arrived), user(request.json()["messages"][1]["content"]),
          // A request of the key-term choice, which a run makes before its first batch.
          terms(user.starts_with("Choose the words for these ")) {
        if (terms) {
            asked = json::parse(user.substr(user.find('\n') + 1));
        } else {
            // The texts of a translate request.
            const std::string countLine = " strings:\n";
            asked = json::parse(user.substr(user.rfind(countLine) + countLine.size()));
        }
    }
    // Whether a translate request asks for strings again, after their answer failed its check: each of
    // its texts carries the problem. A re-ask is no batch of its own, so a run that re-asks takes longer
    // than the bound of its batches.
    bool reasks() const { return !terms && !asked.empty() && asked.front().contains("problem"); }

    std::chrono::steady_clock::time_point arrived;
    std::string user;
    bool terms;
    // The terms to choose words for, or the texts to translate.
    json::Json asked;
};

// What the model answers: each text marked as translated, each term given a word.
inline testing::Reply answerTo(const ModelQuestion& question) {
    if (question.terms) {
        json::Json terms = json::Json::array();
        for (const auto& item : question.asked)
            terms.push_back(
                {{"term", item["term"]}, {"translation", "DE " + item["term"].get<std::string>()}});
        return {200, testing::completionBody(json::dump(json::Json{{"terms", terms}}))};
    }
    json::Json translations = json::Json::array();
    for (const auto& item : question.asked) {
        const std::string text = item["text"];
        // A text that begins with its placeholder keeps it there, as the answer check asks: one request
        // a batch, like a model that answers well.
        translations.push_back(
            {{"id", item["id"]}, {"text", text.starts_with('%') ? text + " DE" : "DE " + text}});
    }
    return {200, testing::completionBody(json::dump(json::Json{{"translations", translations}}))};
}

// The answer, sent `time` after the request came in: what the server spends on reading the request and
// writing its answer is part of that time, as a model's own work is, and counts against neither the
// model's time nor the program.
inline testing::Reply answerAfter(const ModelQuestion& question, std::chrono::milliseconds time) {
    testing::Reply reply = answerTo(question);
    std::this_thread::sleep_until(question.arrived + time);
    return reply;
}

inline testing::Reply answerAfter(const testing::RecordedRequest& request, std::chrono::milliseconds time) {
    return answerAfter(ModelQuestion(request), time);
}

} // namespace orvel::bench
