#pragma once
// The one way the reference fetchers reach the network: plain GETs with a fixed user agent, retries with
// back-off, kept copies of the files that are the same for every language, text decoding and unpacking.

#include <array>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stop_token>
#include <string>
#include <string_view>

namespace orvel {

// Bounds of one transfer; tests shorten them.
struct DownloadLimits {
    // A transfer ends after this long without any data.
    double idleSeconds = 90;
    // The most bytes of one body, counted after any content encoding is undone, and of a kept copy.
    std::size_t bodyBytes = 64u << 20;
};

class Downloader {
  public:
    // A cancellable wait: returns after `duration`, or throws CancellationError when `stop` is requested.
    using Pause = std::function<void(std::chrono::duration<double> duration, const std::stop_token& stop)>;

    static constexpr std::string_view userAgent = "Orvel/1.0 (software reference)";
    // The waits before the first, second and third retry; a request is tried at most four times.
    static constexpr std::array<double, 3> backOffSeconds{5, 15, 40};
    static constexpr double idleTimeoutSeconds = DownloadLimits{}.idleSeconds;
    static constexpr double resourceTimeoutSeconds = 600;
    static constexpr std::size_t connectionsPerHost = 6;

    // The most redirects one request follows.
    static constexpr int maxRedirects = 16;

    using Limits = DownloadLimits;

    // `keep` is the folder of kept copies; without it nothing is read from or written to disk. `pause`
    // replaces the real wait between retries (for tests); empty means the real one. Copies share one
    // session, whose per-host connection cap holds for all of them.
    explicit Downloader(std::optional<std::filesystem::path> keep = std::nullopt, Pause pause = {},
                        Limits limits = {});

    const std::optional<std::filesystem::path>& keep() const { return m_keep; }

    // The body at `address`. With `keep` set and a keep folder present, a kept copy is returned when it
    // can be read (no request at all), and a fetched body is kept (a failure to keep it is ignored).
    // Throws what get() throws.
    std::string data(const std::string& address, bool keep, const std::stop_token& stop = {}) const;

    // The kept body at `address` turned into a value by `decode`. When `decode` throws, the kept copy is
    // removed before the error goes on, so that a bad answer is downloaded again by the next build
    // instead of being trusted for ever.
    template <class Decode>
    auto decodedKept(const std::string& address, const Decode& decode,
                     const std::stop_token& stop = {}) const {
        std::string body = data(address, true, stop);
        try {
            return decode(std::move(body));
        } catch (...) {
            forgetKept(address);
            throw;
        }
    }

    // Removes the kept copy of `address`, if any; a failure is ignored.
    void forgetKept(const std::string& address) const;

    // One GET with retries. Redirects are followed here, each one holding a connection of the host it
    // leads to. Throws SoftwareReference::SourceError (missing for a 404, failed for a bad address,
    // another status, too many redirects or a body beyond the limit), TransportError of the last
    // attempt, or CancellationError.
    std::string get(const std::string& address, const std::stop_token& stop = {}) const;

    // The body at `address` (never kept) as text (see BodyText::decoded). Throws what get() throws.
    std::string text(const std::string& address, const std::stop_token& stop = {}) const;

    // Relative path to contents of the archive's files with one of `extensions` (see ArchiveFiles).
    static std::map<std::string, std::string> files(std::string_view archive, bool zip,
                                                    const std::set<std::string>& extensions);

  private:
    struct Session;

    std::shared_ptr<Session> m_session;
    std::optional<std::filesystem::path> m_keep;
};

} // namespace orvel
