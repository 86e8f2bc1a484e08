#pragma once
// A model on the loopback interface that answers every translate request after a fixed time, each text
// marked as translated: what the benchmarks of whole runs measure against.

#include <chrono>
#include <string>
#include <thread>

#include "core/Json.h"
#include "tests/support/LoopbackServer.h"

namespace orvel::bench {

inline testing::Reply translationsAfter(const testing::RecordedRequest& request,
                                        std::chrono::milliseconds time) {
    std::this_thread::sleep_for(time);
    const std::string user = request.json()["messages"][1]["content"];
    const std::string countLine = " strings:\n";
    json::Json translations = json::Json::array();
    for (const auto& item : json::parse(user.substr(user.rfind(countLine) + countLine.size())))
        translations.push_back({{"id", item["id"]}, {"text", "DE " + item["text"].get<std::string>()}});
    return {200, testing::completionBody(json::dump(json::Json{{"translations", translations}}))};
}

} // namespace orvel::bench
