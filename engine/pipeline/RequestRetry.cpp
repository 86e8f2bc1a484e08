#include "engine/pipeline/RequestRetry.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <random>
#include <vector>

#include "core/Cancellation.h"
#include "engine/model/ChatError.h"
#include "engine/model/ChatMessage.h"

namespace orvel::RequestRetry {
namespace {

double randomSpreadSeconds() {
    thread_local std::mt19937_64 generator{std::random_device{}()};
    // Both ends included.
    std::uniform_real_distribution<double> spread(0,
                                                  std::nextafter(waitSpreadSeconds, 2 * waitSpreadSeconds));
    return spread(generator);
}

bool isNeverRetried(const ChatError& error) {
    return error.kind() == ChatError::Kind::http &&
           std::find(statusesNeverRetried.begin(), statusesNeverRetried.end(), error.statusCode()) !=
               statusesNeverRetried.end();
}

// The counters of one call; a fresh set for every call.
class Attempts {
  public:
    // The wait before the next try after `failure`; nothing when the call ends with it.
    std::optional<std::chrono::nanoseconds> waitAfter(const std::exception_ptr& failure) {
        try {
            std::rethrow_exception(failure);
        } catch (const ChatError& error) {
            if (isNeverRetried(error))
                return std::nullopt;
            if (error.kind() == ChatError::Kind::rateLimited)
                return waitForRateLimit(error.retryAfter());
            return pauseAfterFailure();
        } catch (...) {
            return pauseAfterFailure();
        }
    }

  private:
    std::optional<std::chrono::nanoseconds> waitForRateLimit(std::optional<double> retryAfter) {
        if (retryAfter && *retryAfter > longestRetryAfterSeconds)
            return std::nullopt;
        if (m_rateLimitWaits == rateLimitWaitsPerCall)
            return std::nullopt;
        ++m_rateLimitWaits;
        return nanoseconds(rateLimitBaseSeconds(retryAfter) + randomSpreadSeconds());
    }

    std::optional<std::chrono::nanoseconds> pauseAfterFailure() {
        if (m_failedTries + 1 == triesPerCall)
            return std::nullopt;
        ++m_failedTries;
        const double pause = m_pauseSeconds;
        m_pauseSeconds *= pauseGrowth;
        return nanoseconds(pause);
    }

    int m_failedTries = 0;
    double m_pauseSeconds = firstPauseSeconds;
    int m_rateLimitWaits = 0;
};

} // namespace

void sleep(std::chrono::nanoseconds duration, const std::stop_token& stop) {
    sleepFor(duration, stop);
}

double rateLimitBaseSeconds(std::optional<double> retryAfter) {
    if (!retryAfter || std::isnan(*retryAfter))
        return waitWithoutRetryAfterSeconds;
    return std::clamp(*retryAfter, shortestWaitSeconds, longestWaitSeconds);
}

std::chrono::nanoseconds nanoseconds(double seconds) {
    return std::chrono::nanoseconds(static_cast<std::int64_t>(seconds * 1e9));
}

std::string send(const ChatClient& client, std::string system, std::string user, const std::stop_token& stop,
                 const Pause& pause) {
    const std::vector<ChatMessage> messages{ChatMessage::system(std::move(system)),
                                            ChatMessage::user(std::move(user))};
    Attempts attempts;
    for (;;) {
        std::exception_ptr failure;
        try {
            return client.complete(messages, true, stop);
        } catch (...) {
            failure = std::current_exception();
        }
        const auto wait = attempts.waitAfter(failure);
        if (!wait)
            std::rethrow_exception(failure);
        if (pause)
            pause(*wait, stop);
        else
            sleep(*wait, stop);
        throwIfCancelled(stop);
    }
}

} // namespace orvel::RequestRetry
