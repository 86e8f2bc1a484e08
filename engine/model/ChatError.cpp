#include "engine/model/ChatError.h"

#include "core/TextPrefix.h"

namespace orvel {
namespace {

// Long bodies and answers would flood an alert; the start says what went wrong.
std::string describe(ChatError::Kind kind, const std::string& text, int statusCode) {
    switch (kind) {
    case ChatError::Kind::badEndpoint:
        return "The endpoint is not a valid URL: " + text;
    case ChatError::Kind::http:
        return "The endpoint answered " + std::to_string(statusCode) + ": " + text;
    case ChatError::Kind::rateLimited:
        return "The endpoint is limiting requests: " + text::firstCharacters(text, 300);
    case ChatError::Kind::notJSON:
        return "The model did not answer with JSON: " + text::firstCharacters(text, 300);
    case ChatError::Kind::unavailable:
        return "The model is not available: " + text;
    case ChatError::Kind::emptyResponse:
        return "The endpoint answered with no text";
    case ChatError::Kind::answerTooLarge:
        return "The endpoint's answer is larger than " + text +
               ", far more than any real answer; it was not read";
    }
    return {};
}

} // namespace

ChatError::ChatError(Kind kind, std::string text, int statusCode, std::optional<double> retryAfter)
    : m_kind(kind), m_text(std::move(text)), m_statusCode(statusCode), m_retryAfter(retryAfter),
      m_description(describe(kind, m_text, statusCode)) {}

ChatError ChatError::badEndpoint(std::string endpoint) {
    return ChatError(Kind::badEndpoint, std::move(endpoint));
}

ChatError ChatError::http(int statusCode, std::string body) {
    return ChatError(Kind::http, std::move(body), statusCode);
}

ChatError ChatError::rateLimited(std::optional<double> retryAfter, std::string body) {
    return ChatError(Kind::rateLimited, std::move(body), 0, retryAfter);
}

ChatError ChatError::notJSON(std::string answer) {
    return ChatError(Kind::notJSON, std::move(answer));
}

ChatError ChatError::unavailable(std::string reason) {
    return ChatError(Kind::unavailable, std::move(reason));
}

ChatError ChatError::emptyResponse() {
    return ChatError(Kind::emptyResponse, {});
}

ChatError ChatError::answerTooLarge(std::size_t limitBytes) {
    return ChatError(Kind::answerTooLarge, std::to_string(limitBytes >> 20) + " MiB");
}

} // namespace orvel
