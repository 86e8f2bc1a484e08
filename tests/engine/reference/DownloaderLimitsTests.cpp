#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

#include <archive.h>
#include <archive_entry.h>

#include "core/ConcurrentMap.h"
#include "engine/model/HttpTransfer.h"
#include "engine/reference/Downloader.h"
#include "engine/reference/KeptCopies.h"
#include "engine/reference/SourceError.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/ScratchFolder.h"

using namespace orvel;
using orvel::testing::LoopbackServer;
using orvel::testing::Reply;
using SourceError = SoftwareReference::SourceError;

namespace {

Downloader limited(DownloadLimits limits, std::optional<std::filesystem::path> keep = std::nullopt) {
    return Downloader(
        std::move(keep), [](std::chrono::duration<double>, const std::stop_token&) {}, limits);
}

std::string gzipped(const std::string& bytes) {
    archive* writer = archive_write_new();
    archive_write_set_format_raw(writer);
    archive_write_add_filter_gzip(writer);
    std::string out(1 << 16, '\0');
    std::size_t used = 0;
    archive_write_open_memory(writer, out.data(), out.size(), &used);
    archive_entry* entry = archive_entry_new();
    archive_entry_set_filetype(entry, AE_IFREG);
    archive_write_header(writer, entry);
    archive_write_data(writer, bytes.data(), bytes.size());
    archive_entry_free(entry);
    archive_write_close(writer);
    archive_write_free(writer);
    out.resize(used);
    return out;
}

// A server whose one answer comes as the chunks given, after the waits given, on a stream of its own.
class TricklingServer {
  public:
    explicit TricklingServer(std::vector<std::pair<std::chrono::milliseconds, std::string>> chunks) {
        m_server.Get(".*", [this, chunks](const httplib::Request&, httplib::Response& response) {
            response.set_chunked_content_provider(
                "application/octet-stream", [this, chunks](std::size_t, httplib::DataSink& sink) {
                    for (const auto& [wait, chunk] : chunks) {
                        const auto until = std::chrono::steady_clock::now() + wait;
                        while (!m_closing && std::chrono::steady_clock::now() < until)
                            std::this_thread::sleep_for(std::chrono::milliseconds(10));
                        if (m_closing || !sink.write(chunk.data(), chunk.size()))
                            return false;
                    }
                    sink.done();
                    return true;
                });
        });
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        while (!m_server.is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~TricklingServer() {
        m_closing = true;
        m_server.stop();
        m_thread.join();
    }

    std::string url() const { return "http://127.0.0.1:" + std::to_string(m_port) + "/slow.po"; }

  private:
    std::atomic<bool> m_closing{false};
    httplib::Server m_server;
    int m_port = 0;
    std::thread m_thread;
};

} // namespace

TEST(DownloaderLimits, BodiesBeyondTheLimitFailAtOnceWhateverTheirEncoding) {
    const std::string large(100'000, 'a');
    const struct {
        std::string name;
        Reply reply;
        std::size_t limit;
        std::string expected;
    } cases[] = {
        {"at the limit", Reply(200, std::string(1000, 'a')), 1000, std::string(1000, 'a')},
        {"one byte over", Reply(200, std::string(1001, 'a')), 1000,
         "failed: an answer from 127.0.0.1 larger than 1000 bytes"},
        {"small compressed, large unpacked", Reply(200, gzipped(large), {{"Content-Encoding", "gzip"}}), 1000,
         "failed: an answer from 127.0.0.1 larger than 1000 bytes"},
        {"compressed within the limit", Reply(200, gzipped(large), {{"Content-Encoding", "gzip"}}), 100'000,
         large},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        LoopbackServer server;
        server.reply({row.reply});
        std::string result;
        try {
            result = limited({90, row.limit}).get(server.url("/big.po"));
        } catch (const SourceError& error) {
            result = std::string("failed: ") + error.what();
        }
        EXPECT_EQ(result, row.expected);
        EXPECT_EQ(server.requests().size(), 1u);
    }
}

TEST(DownloaderLimits, AKeptCopyBeyondTheLimitIsFetchedAgain) {
    const orvel::testing::ScratchFolder scratch;
    LoopbackServer server;
    server.reply({Reply(200, "fresh")});
    const auto address = server.url("/en/strings.xml");
    orvel::testing::writeBytes(KeptCopies::file(scratch.path(), address), std::string(2000, 'k'));
    EXPECT_EQ(limited({90, 1000}, scratch.path()).data(address, true), "fresh");
    EXPECT_EQ(orvel::testing::readBytes(KeptCopies::file(scratch.path(), address)), "fresh");
}

TEST(DownloaderLimits, ATransferEndsAfterTheIdleTimeWithoutDataNotAfterSlowData) {
    using namespace std::chrono_literals;
    const struct {
        std::string name;
        std::vector<std::pair<std::chrono::milliseconds, std::string>> chunks;
        std::string expected;
    } cases[] = {
        {"silence after the first byte", {{0ms, "x"}, {5000ms, "y"}}, "timed out"},
        {"a trickle that never pauses for long",
         {{0ms, "a"}, {150ms, "b"}, {150ms, "c"}, {150ms, "d"}, {150ms, "e"}},
         "abcde"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        TricklingServer server(row.chunks);
        const auto start = std::chrono::steady_clock::now();
        std::string result;
        try {
            result = limited({0.4, 1000}).get(server.url());
        } catch (const TransportError& error) {
            result = error.timedOut() ? "timed out" : error.what();
        }
        EXPECT_EQ(result, row.expected);
        // Four tries of 0.4 s each, far below the five seconds of silence.
        EXPECT_LT(std::chrono::steady_clock::now() - start, 4s);
    }
}

TEST(DownloaderLimits, ARedirectHoldsAConnectionOfTheHostItLeadsTo) {
    LoopbackServer target;
    target.respond([](const orvel::testing::RecordedRequest& request) { return Reply(200, request.path); });
    target.holdReplies();
    // The same server under another host name.
    std::string targetBase = target.url();
    targetBase.replace(targetBase.find("127.0.0.1"), 9, "localhost");
    LoopbackServer redirecting;
    redirecting.respond([&](const orvel::testing::RecordedRequest& request) {
        return Reply(302, "", {{"Location", targetBase + "/moved" + request.path}});
    });

    std::vector<std::string> addresses;
    for (int i = 0; i < 6; ++i) {
        addresses.push_back(targetBase + "/direct" + std::to_string(i));
        addresses.push_back(redirecting.url("/r" + std::to_string(i)));
    }
    const auto downloader = limited({});
    auto all = std::async(std::launch::async, [&] {
        return concurrentMap(addresses, 12, [&](const std::string& address, std::stop_token stop) {
            return downloader.get(address, stop);
        });
    });
    target.waitForRequests(6);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(target.requests().size(), 6u);
    target.release();
    const auto bodies = all.get();
    EXPECT_EQ(bodies[1], "/moved/r0");
    EXPECT_EQ(target.requests().size(), 12u);

    LoopbackServer looping;
    looping.respond([&](const orvel::testing::RecordedRequest&) {
        return Reply(301, "", {{"Location", "/again"}});
    });
    try {
        downloader.get(looping.url("/start"));
        ADD_FAILURE() << "a redirect loop ended";
    } catch (const SourceError& error) {
        EXPECT_STREQ(error.what(), "too many redirects from 127.0.0.1");
    }
    EXPECT_EQ(looping.requests().size(), static_cast<std::size_t>(Downloader::maxRedirects) + 1);
}
