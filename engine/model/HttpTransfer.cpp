#include "engine/model/HttpTransfer.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <tuple>

#include "core/Cancellation.h"
#include "core/TextPieces.h"
#include "engine/model/CurlCalls.h"
#include "engine/model/CurlConnections.h"

namespace orvel::HttpTransfer {
namespace {

struct EasyCleanup {
    void operator()(CURL* handle) const { curl().easy_cleanup(handle); }
};
struct ListCleanup {
    void operator()(curl_slist* list) const { curl().slist_free_all(list); }
};
struct UrlCleanup {
    void operator()(CURLU* url) const { curl().url_cleanup(url); }
};

using Clock = std::chrono::steady_clock;

// Far more than the headers of any real answer, redirects included; an endless stream of header lines
// from a broken or hostile server ends there.
constexpr std::size_t maximumHeaderBytes = std::size_t{1} << 20;

struct Transfer {
    HttpResponse response;
    std::stop_token stop;
    // 0: no cap on the body.
    std::size_t maxBodyBytes = 0;
    bool tooLarge = false;
    // The header lines of every answer of the transfer (redirects and interim answers included).
    std::size_t headerBytes = 0;
    bool tooManyHeaders = false;
    bool outOfMemory = false;
    // Zero: no idle limit. Any header or body bytes count as data.
    Clock::duration idle{};
    Clock::time_point lastData = Clock::now();
    bool idledOut = false;
};

// libcurl calls these from C: nothing may be thrown through it. A failure ends the transfer (by taking
// fewer bytes than offered) and is noted for perform() to throw.
std::size_t collectBody(char* data, std::size_t size, std::size_t count, void* context) noexcept {
    auto& transfer = *static_cast<Transfer*>(context);
    transfer.lastData = Clock::now();
    if (transfer.maxBodyBytes > 0 && size * count > transfer.maxBodyBytes - transfer.response.body.size()) {
        transfer.tooLarge = true;
        return 0;
    }
    try {
        transfer.response.body.append(data, size * count);
    } catch (...) {
        transfer.outOfMemory = true;
        return 0;
    }
    return size * count;
}

std::size_t collectHeader(char* data, std::size_t size, std::size_t count, void* context) noexcept {
    auto& transfer = *static_cast<Transfer*>(context);
    transfer.lastData = Clock::now();
    auto& headers = transfer.response.headers;
    const std::string_view line(data, size * count);
    transfer.headerBytes += line.size();
    if (transfer.headerBytes > maximumHeaderBytes) {
        transfer.tooManyHeaders = true;
        return 0;
    }
    try {
        if (line.starts_with("HTTP/")) {
            // A new status line: the headers of an earlier (redirect or interim) answer no longer count.
            headers.clear();
        } else if (const auto colon = line.find(':'); colon != std::string_view::npos) {
            std::string name(text::trimmed(line.substr(0, colon)));
            for (char& c : name)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            headers[name] = std::string(text::trimmed(line.substr(colon + 1)));
        }
    } catch (...) {
        transfer.outOfMemory = true;
        return 0;
    }
    return size * count;
}

int checkStop(void* context, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<Transfer*>(context)->stop.stop_requested() ? 1 : 0;
}

// Silence ends a transfer; a slow trickle of data keeps it alive.
bool idledOut(const Transfer& transfer) {
    return transfer.idle > Clock::duration::zero() && Clock::now() - transfer.lastData > transfer.idle;
}

long timeoutMilliseconds(double seconds) {
    if (!std::isfinite(seconds) || seconds <= 0)
        return 0;
    const double ms = std::ceil(seconds * 1000);
    return ms >= static_cast<double>(std::numeric_limits<long>::max()) ? 0 : static_cast<long>(ms);
}

// Local servers are never reached through a proxy; the person's own exceptions still apply.
std::string proxyExceptions() {
    std::string hosts = "localhost,127.0.0.1,::1";
    for (const char* name : {"no_proxy", "NO_PROXY"}) {
        if (const char* value = std::getenv(name); value && *value) {
            hosts = std::string(value) + "," + hosts;
            break;
        }
    }
    return hosts;
}

// "90 s", or "250 ms" for a limit below whole seconds.
std::string durationText(Clock::duration duration) {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(duration).count();
    return ms % 1000 == 0 ? std::to_string(ms / 1000) + " s" : std::to_string(ms) + " ms";
}

void check(CURLcode code) {
    if (code != CURLE_OK)
        throw TransportError(std::string("The request could not be prepared: ") + curl().easy_strerror(code),
                             false);
}

// One transfer of `url`: the options every request shares, the caller's own through `configure`, and a
// wait on the transfer that a stop request cuts short.
template <class Configure>
HttpResponse perform(const std::string& url, const std::vector<std::string>& headerLines, Transfer& transfer,
                     const Configure& configure) {
    const std::stop_token& stop = transfer.stop;
    throwIfCancelled(stop);
    // Declared first so that it is given back last, once the transfer's handle is gone.
    const CurlConnections::Lease multi = CurlConnections::lease();
    std::unique_ptr<CURL, EasyCleanup> easy(curl().easy_init());
    if (!easy || !multi)
        throw TransportError("The request could not be prepared: out of memory", false);

    std::unique_ptr<curl_slist, ListCleanup> headers;
    for (const auto& line : headerLines)
        headers.reset(curl().slist_append(headers.release(), line.c_str()));
    // A large body would otherwise wait for "100 Continue" before it is sent.
    headers.reset(curl().slist_append(headers.release(), "Expect:"));

    const std::string noProxy = proxyExceptions();
    CURL* h = easy.get();
    check(curl().easy_setopt(h, CURLOPT_URL, url.c_str()));
    check(curl().easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https"));
    check(curl().easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https"));
    check(curl().easy_setopt(h, CURLOPT_MAXREDIRS, 16L));
    check(curl().easy_setopt(h, CURLOPT_NOSIGNAL, 1L));
    check(curl().easy_setopt(h, CURLOPT_NOPROXY, noProxy.c_str()));
    check(curl().easy_setopt(h, CURLOPT_ACCEPT_ENCODING, ""));
    check(curl().easy_setopt(h, CURLOPT_HTTPHEADER, headers.get()));
    check(curl().easy_setopt(h, CURLOPT_WRITEFUNCTION, collectBody));
    check(curl().easy_setopt(h, CURLOPT_WRITEDATA, &transfer));
    check(curl().easy_setopt(h, CURLOPT_HEADERFUNCTION, collectHeader));
    check(curl().easy_setopt(h, CURLOPT_HEADERDATA, &transfer));
    check(curl().easy_setopt(h, CURLOPT_XFERINFOFUNCTION, checkStop));
    check(curl().easy_setopt(h, CURLOPT_XFERINFODATA, &transfer));
    check(curl().easy_setopt(h, CURLOPT_NOPROGRESS, 0L));
    // Otherwise giving up during a host name lookup waits for the lookup to end, which a name server
    // that does not answer can drag out for many seconds; the lookup thread then ends on its own.
    check(curl().easy_setopt(h, CURLOPT_QUICK_EXIT, 1L));
    configure(h);

    if (curl().multi_add_handle(multi.get(), h) != CURLM_OK)
        throw TransportError("The request could not be prepared.", false);
    CURLcode result = CURLE_OK;
    {
        // Wakes the wait below the moment a stop is requested, so an idle transfer ends at once too.
        std::stop_callback wake(stop, [m = multi.get()] { curl().multi_wakeup(m); });
        // The idle limit is checked at least this often, so a short one is kept to closely.
        long pollMs = 1000;
        if (transfer.idle > Clock::duration::zero())
            pollMs = std::clamp<long>(
                static_cast<long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(transfer.idle).count() / 4),
                10, 1000);
        transfer.lastData = Clock::now();
        int running = 1;
        while (running) {
            if (curl().multi_perform(multi.get(), &running) != CURLM_OK)
                break;
            if (stop.stop_requested())
                break;
            if (running && idledOut(transfer)) {
                transfer.idledOut = true;
                break;
            }
            if (running &&
                curl().multi_poll(multi.get(), nullptr, 0, static_cast<int>(pollMs), nullptr) != CURLM_OK)
                break;
        }
        int queued = 0;
        result = CURLE_ABORTED_BY_CALLBACK;
        while (CURLMsg* message = curl().multi_info_read(multi.get(), &queued))
            if (message->msg == CURLMSG_DONE)
                result = message->data.result;
    }
    curl().multi_remove_handle(multi.get(), h);
    throwIfCancelled(stop);
    if (transfer.tooLarge)
        throw ResponseTooLarge(transfer.maxBodyBytes);
    if (transfer.tooManyHeaders)
        throw TransportError(
            "The answer's headers are larger than " + std::to_string(maximumHeaderBytes) + " bytes.", false);
    if (transfer.outOfMemory)
        throw TransportError("The answer could not be held in memory.", false);
    if (transfer.idledOut)
        throw TransportError("The request timed out: no data came for " + durationText(transfer.idle) + ".",
                             true);
    if (result != CURLE_OK)
        throw TransportError(std::string("The request failed: ") + curl().easy_strerror(result),
                             result == CURLE_OPERATION_TIMEDOUT,
                             result == CURLE_COULDNT_RESOLVE_HOST || result == CURLE_COULDNT_RESOLVE_PROXY);
    curl().easy_getinfo(h, CURLINFO_RESPONSE_CODE, &transfer.response.statusCode);
    return std::move(transfer.response);
}

} // namespace

bool isSendable(const std::string& url) {
    // libcurl would read a URL only up to a NUL and so send to another address than the one written.
    if (url.find('\0') != std::string::npos)
        return false;
    // libcurl reads "http:///path" as the host "path"; a URL without a host names no server.
    const auto authority = url.find("://");
    if (authority == std::string::npos || url.find_first_of("/?#", authority + 3) == authority + 3 ||
        authority + 3 == url.size())
        return false;
    std::unique_ptr<CURLU, UrlCleanup> parsed(curl().url());
    if (!parsed || curl().url_set(parsed.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK)
        return false;
    char* scheme = nullptr;
    if (curl().url_get(parsed.get(), CURLUPART_SCHEME, &scheme, 0) != CURLUE_OK)
        return false;
    const std::string_view value(scheme);
    const bool web = value == "http" || value == "https";
    curl().free(scheme);
    return web;
}

UrlParts parts(const std::string& url) {
    UrlParts result;
    if (!isSendable(url))
        return result;
    std::unique_ptr<CURLU, UrlCleanup> parsed(curl().url());
    if (!parsed || curl().url_set(parsed.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK)
        return result;
    for (auto [part, flags, field] : {std::tuple{CURLUPART_HOST, 0u, &result.host},
                                      std::tuple{CURLUPART_PATH, unsigned(CURLU_URLDECODE), &result.path}}) {
        char* value = nullptr;
        if (curl().url_get(parsed.get(), part, &value, flags) == CURLUE_OK && value)
            *field = value;
        curl().free(value);
    }
    return result;
}

HttpResponse post(const std::string& url, const std::vector<std::string>& headerLines,
                  const std::string& body, double timeoutSeconds, std::size_t maxBodyBytes,
                  std::stop_token stop) {
    Transfer transfer;
    transfer.stop = std::move(stop);
    transfer.maxBodyBytes = maxBodyBytes;
    return perform(url, headerLines, transfer, [&](CURL* h) {
        check(curl().easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L));
        check(curl().easy_setopt(h, CURLOPT_POST, 1L));
        check(curl().easy_setopt(h, CURLOPT_POSTFIELDS, body.data()));
        check(curl().easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size())));
        check(curl().easy_setopt(h, CURLOPT_TIMEOUT_MS, timeoutMilliseconds(timeoutSeconds)));
        check(curl().easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, timeoutMilliseconds(timeoutSeconds)));
    });
}

HttpResponse get(const std::string& url, const std::vector<std::string>& headerLines,
                 const GetOptions& options, std::stop_token stop) {
    Transfer transfer;
    transfer.stop = std::move(stop);
    transfer.maxBodyBytes = options.maxBodyBytes;
    const long idleMs = timeoutMilliseconds(options.idleSeconds);
    transfer.idle = std::chrono::milliseconds(idleMs);
    return perform(url, headerLines, transfer, [&](CURL* h) {
        check(curl().easy_setopt(h, CURLOPT_FOLLOWLOCATION, options.followRedirects ? 1L : 0L));
        check(curl().easy_setopt(h, CURLOPT_HTTPGET, 1L));
        check(curl().easy_setopt(h, CURLOPT_TIMEOUT_MS, timeoutMilliseconds(options.timeoutSeconds)));
        check(curl().easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, idleMs));
    });
}

std::optional<std::string> resolved(const std::string& base, const std::string& reference) {
    if (reference.find('\0') != std::string::npos)
        return std::nullopt;
    std::unique_ptr<CURLU, UrlCleanup> parsed(curl().url());
    if (!parsed || curl().url_set(parsed.get(), CURLUPART_URL, base.c_str(), 0) != CURLUE_OK ||
        curl().url_set(parsed.get(), CURLUPART_URL, reference.c_str(), 0) != CURLUE_OK)
        return std::nullopt;
    char* joined = nullptr;
    if (curl().url_get(parsed.get(), CURLUPART_URL, &joined, 0) != CURLUE_OK || !joined)
        return std::nullopt;
    std::string result(joined);
    curl().free(joined);
    if (!isSendable(result))
        return std::nullopt;
    return result;
}

} // namespace orvel::HttpTransfer
