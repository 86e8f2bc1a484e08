#pragma once
// The failures of a model request that callers tell apart; what() is the user-facing description.

#include <cstddef>
#include <exception>
#include <optional>
#include <string>

namespace orvel {

class ChatError : public std::exception {
  public:
    enum class Kind { badEndpoint, http, rateLimited, notJSON, unavailable, emptyResponse, answerTooLarge };

    // The endpoint text, as the settings hold it, from which no URL could be formed.
    static ChatError badEndpoint(std::string endpoint);
    // A non-2xx answer with its (already shortened) body text.
    static ChatError http(int statusCode, std::string body);
    // HTTP 429: the delay the endpoint asked for, in seconds, when it named one.
    static ChatError rateLimited(std::optional<double> retryAfter, std::string body);
    static ChatError notJSON(std::string answer);
    static ChatError unavailable(std::string reason);
    static ChatError emptyResponse();
    // The answer's body passed `limitBytes`; the transfer was ended there.
    static ChatError answerTooLarge(std::size_t limitBytes);

    Kind kind() const { return m_kind; }
    // The payload text: endpoint, body, answer, reason, or the limit passed ("32 MiB"); empty for
    // emptyResponse.
    const std::string& text() const { return m_text; }
    // The status code of `http`; 0 otherwise.
    int statusCode() const { return m_statusCode; }
    const std::optional<double>& retryAfter() const { return m_retryAfter; }

    const std::string& errorDescription() const { return m_description; }
    const char* what() const noexcept override { return m_description.c_str(); }

  private:
    ChatError(Kind kind, std::string text, int statusCode = 0,
              std::optional<double> retryAfter = std::nullopt);

    Kind m_kind;
    std::string m_text;
    int m_statusCode;
    std::optional<double> m_retryAfter;
    std::string m_description;
};

} // namespace orvel
