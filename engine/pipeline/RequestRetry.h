#pragma once
// The one rule by which every model request of the pipeline is tried again: some answers end the call
// at once, rate limits are waited out, and every other failure is tried three times in all.

#include <array>
#include <chrono>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>

#include "engine/model/ChatClient.h"

namespace orvel::RequestRetry {

inline constexpr int triesPerCall = 3;
inline constexpr double firstPauseSeconds = 1;
inline constexpr double pauseGrowth = 3;
// A request the endpoint refuses for what it is, not for how busy it is, fails the same way again.
inline constexpr std::array<int, 4> statusesNeverRetried{400, 401, 403, 404};
inline constexpr double longestRetryAfterSeconds = 300;
inline constexpr double waitWithoutRetryAfterSeconds = 20;
inline constexpr double shortestWaitSeconds = 2;
inline constexpr double longestWaitSeconds = 120;
// Spreads the waits of parallel batches so that they do not all come back at the same moment.
inline constexpr double waitSpreadSeconds = 2;
inline constexpr int rateLimitWaitsPerCall = 8;

// Waits for the duration; throws CancellationError as soon as a stop is requested.
using Pause = std::function<void(std::chrono::nanoseconds, const std::stop_token&)>;

// The real pause: a sleep that a stop request cuts short.
void sleep(std::chrono::nanoseconds duration, const std::stop_token& stop);

// The wait, in seconds and before the random spread, after a rate limit that asked for `retryAfter`
// seconds (nothing when it named no time, or named a time that is not a number).
double rateLimitBaseSeconds(std::optional<double> retryAfter);

// A whole number of nanoseconds, truncated.
std::chrono::nanoseconds nanoseconds(double seconds);

// The answer to one system and one user message, asked for as JSON, with the rule applied. The error of
// the last try is thrown unchanged; a stop during a pause throws CancellationError. An empty `pause`
// means the real one.
std::string send(const ChatClient& client, std::string system, std::string user, const std::stop_token& stop,
                 const Pause& pause = {});

} // namespace orvel::RequestRetry
