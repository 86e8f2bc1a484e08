#include <gtest/gtest.h>

#include <future>
#include <mutex>

#include "core/Cancellation.h"
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
using orvel::testing::ScratchFolder;
using SourceError = SoftwareReference::SourceError;

namespace {

class DownloaderHttp : public ::testing::Test {
  protected:
    Downloader downloader(std::optional<std::filesystem::path> keep = std::nullopt) {
        return Downloader(std::move(keep),
                          [this](std::chrono::duration<double> wait, const std::stop_token&) {
                              std::lock_guard guard(m_lock);
                              m_pauses.push_back(wait.count());
                          });
    }

    std::vector<double> pauses() {
        std::lock_guard guard(m_lock);
        return m_pauses;
    }

    SourceError sourceError(const std::string& address) {
        try {
            downloader().get(address);
        } catch (const SourceError& error) {
            return error;
        }
        ADD_FAILURE() << address << " did not fail with a source error";
        return SourceError::failed("");
    }

    // An address on the loopback interface where nothing listens.
    static std::string closedAddress(const std::string& path) {
        LoopbackServer gone;
        return gone.url(path);
    }

    LoopbackServer server;

  private:
    std::mutex m_lock;
    std::vector<double> m_pauses;
};

} // namespace

TEST_F(DownloaderHttp, GetSendsThePlainRequestWithTheUserAgent) {
    server.reply({Reply(200, std::string("body\0bytes", 10))});
    EXPECT_EQ(downloader().get(server.url("/chrome/app/resources/de.xtb?format=TEXT")),
              std::string("body\0bytes", 10));
    const auto request = server.requests().at(0);
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.path, "/chrome/app/resources/de.xtb");
    EXPECT_EQ(request.query, "format=TEXT");
    EXPECT_EQ(request.header("User-Agent"), "Orvel/1.0 (software reference)");
    EXPECT_EQ(request.headerCount("User-Agent"), 1u);
}

TEST_F(DownloaderHttp, RedirectsAreFollowed) {
    server.reply({Reply(302, "", {{"Location", "/moved/de.po"}}), Reply(200, "moved body")});
    EXPECT_EQ(downloader().get(server.url("/de.po")), "moved body");
    EXPECT_EQ(server.requests().at(1).path, "/moved/de.po");
}

TEST_F(DownloaderHttp, NotFoundIsMissingAtOnceAndNamesTheFileWithoutItsQuery) {
    server.reply({Reply(404, "gone")});
    const auto error = sourceError(server.url("/l10n/de/values%20x/strings.xml?format=TEXT"));
    EXPECT_EQ(error.kind(), SourceError::Kind::missing);
    EXPECT_STREQ(error.what(), "no strings.xml");
    EXPECT_STREQ(sourceError(server.url("/folder/de.po/")).what(), "no de.po");
    EXPECT_EQ(server.requests().size(), 2u);
    EXPECT_TRUE(pauses().empty());
}

TEST_F(DownloaderHttp, ServerErrorsAreRetriedOnTheBackOffScheduleThenReported) {
    server.reply({Reply(503, ""), Reply(500, ""), Reply(599, ""), Reply(200, "late")});
    EXPECT_EQ(downloader().get(server.url("/a.po")), "late");
    EXPECT_EQ(pauses(), (std::vector<double>{5, 15, 40}));

    server.reply({Reply(503, "")});
    const auto error = sourceError(server.url("/a.po"));
    EXPECT_EQ(error.kind(), SourceError::Kind::failed);
    EXPECT_STREQ(error.what(), "HTTP 503 from 127.0.0.1");
    EXPECT_EQ(server.requests().size(), 8u);
    EXPECT_EQ(pauses(), (std::vector<double>{5, 15, 40, 5, 15, 40}));
}

TEST_F(DownloaderHttp, RetryAfterSecondsAreBoundedAndKeepTheScheduleMoving) {
    server.reply({Reply(429, "", {{"Retry-After", "0"}}), Reply(503, ""),
                  Reply(503, "", {{"Retry-After", "Wed, 21 Oct 2015 07:28:00 GMT"}}), Reply(200, "ok")});
    EXPECT_EQ(downloader().get(server.url("/x")), "ok");
    EXPECT_EQ(pauses(), (std::vector<double>{1, 15, 40}));

    server.reply({Reply(503, "", {{"Retry-After", "120"}}), Reply(503, "", {{"Retry-After", "2.5"}}),
                  Reply(503, "", {{"Retry-After", "3 s"}}), Reply(200, "ok")});
    EXPECT_EQ(downloader().get(server.url("/x")), "ok");
    EXPECT_EQ(pauses(), (std::vector<double>{1, 15, 40, 60, 2.5, 40}));
}

TEST_F(DownloaderHttp, OtherStatusesFailAtOnce) {
    for (const int status : {204, 403, 400, 304}) {
        server.reply({Reply(status, "")});
        const auto error = sourceError(server.url("/x.po"));
        EXPECT_EQ(error.kind(), SourceError::Kind::failed);
        EXPECT_EQ(error.what(), "HTTP " + std::to_string(status) + " from 127.0.0.1");
    }
    EXPECT_EQ(server.requests().size(), 4u);
    EXPECT_TRUE(pauses().empty());
}

TEST_F(DownloaderHttp, AnAddressThatIsNoWebUrlFailsWithoutARequest) {
    for (const std::string address :
         {"not a url", "", "ftp://127.0.0.1/x.po", "http:///x.po", "/relative/x.po"}) {
        const auto error = sourceError(address);
        EXPECT_EQ(error.kind(), SourceError::Kind::failed);
        EXPECT_EQ(error.what(), "bad address " + address);
    }
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(DownloaderHttp, TransportFailuresAreRetriedButAnUnknownHostIsNot) {
    EXPECT_THROW(downloader().get(closedAddress("/x.po")), TransportError);
    EXPECT_EQ(pauses(), (std::vector<double>{5, 15, 40}));

    try {
        downloader().get("http://no-such-host.invalid/x.po");
        ADD_FAILURE() << "an unknown host was reached";
    } catch (const TransportError& error) {
        EXPECT_TRUE(error.hostNotFound());
    }
    EXPECT_EQ(pauses().size(), 3u);
}

TEST_F(DownloaderHttp, CancellationEndsTheWaitBeforeARetryAndARequestInFlight) {
    server.reply({Reply(503, "")});
    const Downloader realPauses;
    std::stop_source waiting;
    auto retried =
        std::async(std::launch::async, [&] { return realPauses.get(server.url("/x"), waiting.get_token()); });
    server.waitForRequests(1);
    waiting.request_stop();
    ASSERT_EQ(retried.wait_for(std::chrono::seconds(3)), std::future_status::ready);
    EXPECT_THROW(retried.get(), CancellationError);
    EXPECT_EQ(server.requests().size(), 1u);

    server.holdReplies();
    std::stop_source fetching;
    auto held = std::async(std::launch::async,
                           [&] { return realPauses.get(server.url("/y"), fetching.get_token()); });
    server.waitForRequests(2);
    fetching.request_stop();
    ASSERT_EQ(held.wait_for(std::chrono::seconds(3)), std::future_status::ready);
    EXPECT_THROW(held.get(), CancellationError);
}

TEST_F(DownloaderHttp, OneHostGetsAtMostSixRequestsAtOnceAndResultsKeepTheirOrder) {
    server.respond([](const orvel::testing::RecordedRequest& request) { return Reply(200, request.path); });
    server.holdReplies();
    std::vector<std::string> paths;
    for (int i = 0; i < 10; ++i)
        paths.push_back("/file" + std::to_string(i));
    const auto shared = downloader();
    auto all = std::async(std::launch::async, [&] {
        return concurrentMap(paths, 10, [&](const std::string& path, std::stop_token stop) {
            return shared.get(server.url(path), stop);
        });
    });
    server.waitForRequests(6);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(server.requests().size(), 6u);
    server.release();
    EXPECT_EQ(all.get(), paths);
    EXPECT_EQ(server.requests().size(), 10u);
}

TEST_F(DownloaderHttp, KeptCopiesServeEveryLaterRequestWhenAllowed) {
    const ScratchFolder scratch;
    const auto keep = scratch.path() / "english";
    server.reply({Reply(200, "english source")});
    const auto address = server.url("/en/strings.xml");
    const auto keeping = downloader(keep);

    EXPECT_EQ(keeping.data(address, true), "english source");
    EXPECT_EQ(orvel::testing::readBytes(KeptCopies::file(keep, address)), "english source");
    server.reply({Reply(200, "changed")});
    EXPECT_EQ(keeping.data(address, true), "english source");
    EXPECT_EQ(server.requests().size(), 1u);

    // Without the flag the kept copy is neither read nor replaced.
    EXPECT_EQ(keeping.data(address, false), "changed");
    EXPECT_EQ(orvel::testing::readBytes(KeptCopies::file(keep, address)), "english source");
    const auto perLanguage = server.url("/de/strings.xml");
    EXPECT_EQ(keeping.data(perLanguage, false), "changed");
    EXPECT_FALSE(std::filesystem::exists(KeptCopies::file(keep, perLanguage)));

    // A kept copy answers even when the network is down.
    const auto unreachable = closedAddress("/en/other.xml");
    scratch.write(KeptCopies::file(keep, unreachable).lexically_relative(scratch.path()), "kept earlier");
    EXPECT_EQ(keeping.data(unreachable, true), "kept earlier");
    EXPECT_TRUE(pauses().empty());
}

TEST_F(DownloaderHttp, ABodyThatCannotBeKeptIsStillReturned) {
    const ScratchFolder scratch;
    const auto blocked = scratch.write("english", "a file where the folder should be");
    server.reply({Reply(200, "body")});
    EXPECT_EQ(downloader(blocked).data(server.url("/en/a.po"), true), "body");
    EXPECT_EQ(downloader().data(server.url("/en/a.po"), true), "body");
    EXPECT_EQ(server.requests().size(), 2u);
}

TEST_F(DownloaderHttp, TextIsDecodedAndNeverKept) {
    const ScratchFolder scratch;
    server.reply({Reply(200, "\xEF\xBB\xBFOuvrir\xFF")});
    const auto address = server.url("/fr.po");
    EXPECT_EQ(downloader(scratch.path()).text(address), "Ouvrir\xEF\xBF\xBD");
    EXPECT_TRUE(std::filesystem::is_empty(scratch.path()));
}
