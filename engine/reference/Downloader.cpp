#include "engine/reference/Downloader.h"

#include <algorithm>
#include <cmath>

#include "core/Cancellation.h"
#include "core/FileIO.h"
#include "core/Numbers.h"
#include "core/StringsFiles.h"
#include "engine/model/HttpTransfer.h"
#include "engine/reference/ArchiveFiles.h"
#include "engine/reference/BodyText.h"
#include "engine/reference/HostConnections.h"
#include "engine/reference/KeptCopies.h"
#include "engine/reference/SourceError.h"

namespace orvel {

struct Downloader::Session {
    Pause pause;
    Limits limits;
    HostConnections connections{connectionsPerHost};
};

namespace {

using SourceError = SoftwareReference::SourceError;

bool retryable(long status) {
    return status == 429 || status >= 500;
}

// The wait a "Retry-After" header asks for when its whole value is a number of seconds (an HTTP date is
// not), kept between 1 and 60 seconds.
std::optional<double> retryAfterSeconds(const HttpResponse& response) {
    const auto header = response.headers.find("retry-after");
    if (header == response.headers.end())
        return std::nullopt;
    const auto seconds = parseNumber<double>(header->second);
    if (!seconds || std::isnan(*seconds))
        return std::nullopt;
    return std::clamp(*seconds, 1.0, 60.0);
}

// The file name a 404 is reported with: the last component of the decoded path.
std::string missingName(const std::string& path) {
    if (path.find_first_not_of('/') == std::string::npos)
        return path.empty() ? std::string() : std::string("/");
    return std::string(KeptCopies::lastComponent(path));
}

} // namespace

Downloader::Downloader(std::optional<std::filesystem::path> keep, Pause pause, Limits limits)
    : m_session(std::make_shared<Session>()), m_keep(std::move(keep)) {
    m_session->pause =
        pause ? std::move(pause) : [](std::chrono::duration<double> duration, const std::stop_token& stop) {
            sleepFor(duration, stop);
        };
    m_session->limits = limits;
}

namespace {

bool isRedirect(long status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

} // namespace

std::string Downloader::get(const std::string& address, const std::stop_token& stop) const {
    if (!HttpTransfer::isSendable(address))
        throw SourceError::failed("bad address " + address);
    const std::vector<std::string> headers{"User-Agent: " + std::string(userAgent)};
    HttpTransfer::GetOptions options;
    options.timeoutSeconds = resourceTimeoutSeconds;
    options.idleSeconds = m_session->limits.idleSeconds;
    options.maxBodyBytes = m_session->limits.bodyBytes;
    options.followRedirects = false;
    for (std::size_t retries = 0;; ++retries) {
        const bool lastTry = retries == backOffSeconds.size();
        std::optional<HttpResponse> response;
        std::string current = address;
        try {
            for (int redirects = 0;; ++redirects) {
                const auto host = HttpTransfer::parts(current).host;
                {
                    const auto slot = m_session->connections.acquire(host, stop);
                    response = HttpTransfer::get(current, headers, options, stop);
                }
                const auto location = response->headers.find("location");
                if (!isRedirect(response->statusCode) || location == response->headers.end())
                    break;
                const auto next = HttpTransfer::resolved(current, location->second);
                if (!next)
                    throw SourceError::failed("bad redirect from " + host);
                if (redirects == maxRedirects)
                    throw SourceError::failed("too many redirects from " + host);
                current = *next;
            }
        } catch (const HttpTransfer::ResponseTooLarge& error) {
            throw SourceError::failed("an answer from " + HttpTransfer::parts(current).host +
                                      " larger than " + std::to_string(error.limit()) + " bytes");
        } catch (const TransportError& error) {
            if (error.hostNotFound() || lastTry)
                throw;
            response.reset();
        }
        double wait = backOffSeconds[std::min(retries, backOffSeconds.size() - 1)];
        if (response) {
            const long status = response->statusCode;
            const auto parts = HttpTransfer::parts(current);
            if (status == 200)
                return std::move(response->body);
            if (status == 404)
                throw SourceError::missing(missingName(parts.path));
            const auto failure =
                SourceError::failed("HTTP " + std::to_string(status) + " from " + parts.host);
            if (!retryable(status) || lastTry)
                throw failure;
            wait = retryAfterSeconds(*response).value_or(wait);
        }
        m_session->pause(std::chrono::duration<double>(wait), stop);
        throwIfCancelled(stop);
    }
}

std::string Downloader::data(const std::string& address, bool keep, const std::stop_token& stop) const {
    const bool kept = keep && m_keep;
    const auto file = kept ? KeptCopies::file(*m_keep, address) : std::filesystem::path();
    if (kept) {
        std::error_code error;
        const auto size = std::filesystem::file_size(file, error);
        // A kept copy beyond the body limit cannot have come from a download; it is fetched again.
        if (!error && size <= m_session->limits.bodyBytes) {
            if (auto bytes = FileIO::readIfPresent(file))
                return std::move(*bytes);
        }
    }
    std::string body = get(address, stop);
    if (kept) {
        // The body is good whether or not it can be kept; the next build simply fetches it again. The
        // write creates the folder when it is missing.
        try {
            StringsFiles::writeAtomically(body, file);
        } catch (const std::exception&) {
        }
    }
    return body;
}

void Downloader::forgetKept(const std::string& address) const {
    if (!m_keep)
        return;
    std::error_code ignored;
    std::filesystem::remove(KeptCopies::file(*m_keep, address), ignored);
}

std::string Downloader::text(const std::string& address, const std::stop_token& stop) const {
    return BodyText::decoded(data(address, false, stop));
}

std::map<std::string, std::string> Downloader::files(std::string_view archive, bool zip,
                                                     const std::set<std::string>& extensions) {
    return ArchiveFiles::files(archive, zip, extensions);
}

} // namespace orvel
