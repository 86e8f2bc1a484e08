#pragma once
// A translation job whose model is a loopback server, with instant retry pauses and the job's log lines
// and review notes collected: the fixture of every test that drives the job's model requests.

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "core/Cancellation.h"
#include "engine/pipeline/TranslationJob.h"
#include "tests/support/LoopbackServer.h"

namespace orvel::testing {

// A string of the table "Main".
inline SourceString mainString(std::string key, std::string english) {
    SourceString value;
    value.table = "Main";
    value.key = std::move(key);
    value.text = std::move(english);
    return value;
}

inline std::string mainId(const std::string& key) {
    return SourceString::id("Main", key);
}

// The user message of a chat request.
inline std::string userOf(const RecordedRequest& request) {
    return request.json()["messages"][1]["content"];
}

// The items of a translate request: the JSON list after its count line.
inline json::Json translateItemsOf(const RecordedRequest& request) {
    const std::string user = userOf(request);
    const std::string countLine = " strings:\n";
    return json::parse(user.substr(user.rfind(countLine) + countLine.size()));
}

class LoopbackJobTest : public ::testing::Test {
  protected:
    LoopbackJobTest(bool review, bool verifyReview)
        : job(AppProfile("Notes", "en"), "de", settings(), AppNotes{}, ContextMap{}, {}, {}, review,
              verifyReview) {
        job.retryPause = [](std::chrono::nanoseconds, const std::stop_token& stop) {
            throwIfCancelled(stop);
        };
        job.onLog = [this](const std::string& line) {
            std::lock_guard guard(m_lock);
            m_log.push_back(line);
        };
        job.onReview = [this](const ReviewNote& note) {
            std::lock_guard guard(m_lock);
            m_notes.push_back(note);
        };
    }

    std::vector<std::string> log() {
        std::lock_guard guard(m_lock);
        return m_log;
    }

    std::vector<ReviewNote> notes() {
        std::lock_guard guard(m_lock);
        return m_notes;
    }

    // Declared before the job: the job's settings name the server's address.
    LoopbackServer server;
    TranslationJob job;

  private:
    ModelSettings settings() const {
        ModelSettings value;
        value.endpoint = server.url("/v1");
        value.model = "test-model";
        value.jsonMode = true;
        value.timeout = 30;
        return value;
    }

    std::mutex m_lock;
    std::vector<std::string> m_log;
    std::vector<ReviewNote> m_notes;
};

} // namespace orvel::testing
