#include "engine/model/ChatClient.h"

#include <cctype>
#include <cmath>
#include <stdexcept>

#include "core/TextPieces.h"
#include "core/Unicode.h"
#include "engine/model/AppleModels.h"
#include "engine/model/ChatError.h"
#include "engine/model/DelaySeconds.h"
#include "engine/model/HttpTransfer.h"

namespace orvel {
namespace {

constexpr std::string_view completionsPath = "/chat/completions";
// How much of an error body is searched for hints, and how much an HTTP error keeps.
constexpr std::size_t searchedBodyBytes = 2000;
constexpr std::size_t keptBodyBytes = 600;
constexpr int maximumResends = 4;

std::string bodyPrefix(const std::string& body, std::size_t bytes) {
    return text::decodeUtf8Lossy(std::string_view(body).substr(0, bytes));
}

// The scheme of an absolute URL ("http" in "http://host"), lower-cased; empty when there is none.
std::string schemeOf(std::string_view url) {
    const auto colon = url.find(':');
    if (colon == std::string_view::npos || colon == 0)
        return {};
    std::string scheme;
    for (std::size_t i = 0; i < colon; ++i) {
        const char c = url[i];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        const bool allowed =
            letter || (i > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
        if (!allowed)
            return {};
        scheme += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return scheme;
}

std::string completionsUrl(const std::string& endpoint) {
    std::string url(text::trimmed(endpoint));
    while (url.ends_with('/'))
        url.pop_back();
    if (url.ends_with(completionsPath))
        url.erase(url.size() - completionsPath.size());
    url += completionsPath;
    const std::string scheme = schemeOf(url);
    if (scheme.empty())
        throw ChatError::badEndpoint(endpoint);
    if (scheme != "http" && scheme != "https")
        throw TransportError("The URL " + url + " is not supported: only http and https can be sent to.",
                             false);
    if (!HttpTransfer::isSendable(url))
        throw ChatError::badEndpoint(endpoint);
    return url;
}

json::Json requestBody(const ModelSettings& settings, const std::vector<ChatMessage>& messages, bool json) {
    json::Json body = json::Json::object();
    body["model"] = settings.model;
    body["messages"] = json::Json::array();
    for (const auto& message : messages)
        body["messages"].push_back({{"role", message.role}, {"content", message.content}});
    if (settings.temperature) {
        if (!std::isfinite(*settings.temperature))
            throw std::invalid_argument(
                "The temperature is not a finite number and cannot be written as JSON.");
        body["temperature"] = *settings.temperature;
    }
    if (json && settings.jsonMode)
        body["response_format"] = {{"type", "json_object"}};
    if (settings.reasoningEffort && !settings.reasoningEffort->empty())
        body["reasoning_effort"] = *settings.reasoningEffort;
    return body;
}

std::vector<std::string> headerLines(const ModelSettings& settings) {
    std::vector<std::string> lines{"Content-Type: application/json"};
    if (settings.apiKey && !settings.apiKey->empty()) {
        // A line break in the key would let it write headers of its own.
        for (const char c : *settings.apiKey)
            if (c == '\r' || c == '\n' || c == '\0')
                throw std::invalid_argument("The API key contains a line break and cannot be sent.");
        lines.push_back("Authorization: Bearer " + *settings.apiKey);
    }
    return lines;
}

// Drops the first optional field the endpoint's complaint names; false when none applies.
bool dropRejectedField(json::Json& body, const std::string& complaint) {
    static constexpr std::pair<std::string_view, const char*> rules[] = {
        {"temperature", "temperature"},
        {"response_format", "response_format"},
        {"reasoning", "reasoning_effort"}};
    for (const auto& [word, field] : rules) {
        if (complaint.find(word) != std::string::npos && body.contains(field)) {
            body.erase(field);
            return true;
        }
    }
    return false;
}

HttpResponse send(const std::string& url, const std::vector<std::string>& headers, const std::string& body,
                  double timeout, const std::stop_token& stop) {
    try {
        return HttpTransfer::post(url, headers, body, timeout, ChatClient::maximumAnswerBytes, stop);
    } catch (const HttpTransfer::ResponseTooLarge& error) {
        throw ChatError::answerTooLarge(error.limit());
    }
}

std::string finished(std::string_view answer) {
    return text::nfc(ChatClient::stripThinking(answer));
}

} // namespace

std::string ChatClient::complete(const std::vector<ChatMessage>& messages, bool json,
                                 std::stop_token stop) const {
    if (const auto kind = AppleModels::kind(settings.endpoint))
        return finished(AppleModels::complete(messages, *kind, settings.temperature, stop));

    const std::string url = completionsUrl(settings.endpoint);
    json::Json body = requestBody(settings, messages, json);
    const std::vector<std::string> headers = headerLines(settings);
    int resends = 0;
    while (true) {
        const HttpResponse response = send(url, headers, json::dump(body), settings.timeout, stop);
        const int status = static_cast<int>(response.statusCode);
        if (status == 429) {
            const std::string text = bodyPrefix(response.body, searchedBodyBytes);
            std::optional<double> delay;
            if (const auto header = response.headers.find("retry-after"); header != response.headers.end())
                delay = parseDelaySeconds(header->second);
            if (!delay)
                delay = retryDelay(text);
            throw ChatError::rateLimited(delay, text);
        }
        if (status == 400) {
            if (dropRejectedField(body, bodyPrefix(response.body, searchedBodyBytes)) &&
                ++resends < maximumResends)
                continue;
            throw ChatError::http(400, bodyPrefix(response.body, keptBodyBytes));
        }
        if (status >= 200 && status <= 299) {
            const auto answer = answerText(response.body);
            if (!answer || answer->empty())
                throw ChatError::emptyResponse();
            return finished(*answer);
        }
        throw ChatError::http(status, bodyPrefix(response.body, keptBodyBytes));
    }
}

} // namespace orvel
