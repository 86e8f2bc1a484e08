#pragma once
// One HTTP POST or GET over libcurl, cancellable at any moment through a stop token.

#include <cstddef>
#include <map>
#include <optional>
#include <stdexcept>
#include <stop_token>
#include <string>
#include <vector>

namespace orvel {

// A failure of the transfer itself: no connection, a time-out, an unsupported URL, a broken answer.
class TransportError : public std::runtime_error {
  public:
    TransportError(const std::string& description, bool timedOut, bool hostNotFound = false)
        : std::runtime_error(description), m_timedOut(timedOut), m_hostNotFound(hostNotFound) {}
    bool timedOut() const { return m_timedOut; }
    // The host name (or the proxy's) could not be resolved: trying again soon is not worth it.
    bool hostNotFound() const { return m_hostNotFound; }

  private:
    bool m_timedOut;
    bool m_hostNotFound;
};

struct HttpResponse {
    long statusCode = 0;
    std::string body;
    // Header names lower-cased; the headers of the final answer only (after redirects).
    std::map<std::string, std::string> headers;
};

namespace HttpTransfer {

// Whether `url` is an absolute http or https URL that can be sent to.
bool isSendable(const std::string& url);

struct UrlParts {
    // Empty when the URL names none.
    std::string host;
    // Percent escapes decoded; without the query.
    std::string path;
};

// The parts of a URL that isSendable() accepts; empty parts for any other text.
UrlParts parts(const std::string& url);

// A body larger than the request allows; the transfer ends as soon as the limit is passed.
class ResponseTooLarge : public TransportError {
  public:
    explicit ResponseTooLarge(std::size_t limit)
        : TransportError("The answer is larger than " + std::to_string(limit) + " bytes.", false),
          m_limit(limit) {}
    std::size_t limit() const { return m_limit; }

  private:
    std::size_t m_limit;
};

// Sends `body` to `url` with the given header lines ("Name: value"). `timeoutSeconds` bounds the whole
// transfer; zero, negative or non-finite means no limit. `maxBodyBytes` bounds the answer's body, counted
// after any content encoding is undone; 0 means no limit. Throws TransportError, ResponseTooLarge when the
// body passes the limit, or CancellationError as soon as a stop is requested.
HttpResponse post(const std::string& url, const std::vector<std::string>& headerLines,
                  const std::string& body, double timeoutSeconds, std::size_t maxBodyBytes,
                  std::stop_token stop);

struct GetOptions {
    // Bounds the whole transfer; zero or less means no limit.
    double timeoutSeconds = 0;
    // Bounds the time without any data received, at any point of the transfer; zero or less means none.
    double idleSeconds = 0;
    // The most body bytes taken, counted after any content encoding is undone; 0 means no limit.
    std::size_t maxBodyBytes = 0;
    // When false, a redirect is returned as the answer (its "location" header included).
    bool followRedirects = true;
};

// Fetches `url` with the given header lines. Throws like post(), and ResponseTooLarge when the body
// passes `options.maxBodyBytes`.
HttpResponse get(const std::string& url, const std::vector<std::string>& headerLines,
                 const GetOptions& options, std::stop_token stop);

// `reference` (absolute, or relative as a "Location" header may give it) resolved against `base`; nothing
// when the result is not a sendable URL.
std::optional<std::string> resolved(const std::string& base, const std::string& reference);

} // namespace HttpTransfer
} // namespace orvel
