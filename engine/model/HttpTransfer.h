#pragma once
// One HTTP POST over libcurl, cancellable at any moment through a stop token.

#include <map>
#include <stdexcept>
#include <stop_token>
#include <string>
#include <vector>

namespace orvel {

// A failure of the transfer itself: no connection, a time-out, an unsupported URL, a broken answer.
class TransportError : public std::runtime_error {
  public:
    TransportError(const std::string& description, bool timedOut)
        : std::runtime_error(description), m_timedOut(timedOut) {}
    bool timedOut() const { return m_timedOut; }

  private:
    bool m_timedOut;
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

// Sends `body` to `url` with the given header lines ("Name: value"). `timeoutSeconds` bounds the whole
// transfer; zero, negative or non-finite means no limit. Throws TransportError, or CancellationError as
// soon as a stop is requested.
HttpResponse post(const std::string& url, const std::vector<std::string>& headerLines,
                  const std::string& body, double timeoutSeconds, std::stop_token stop);

} // namespace HttpTransfer
} // namespace orvel
