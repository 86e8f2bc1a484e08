// Transfers one after the other to one server go over the connection the last left open, while that
// connection holds; whatever ended it, the next transfer still gets through on a new one.

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "core/Cancellation.h"
#include "engine/model/HttpTransfer.h"
#include "tests/support/LoopbackServer.h"

using namespace orvel;
using orvel::testing::LoopbackServer;
using orvel::testing::Reply;

namespace {

HttpResponse post(const LoopbackServer& server, std::stop_token stop = {}) {
    return HttpTransfer::post(server.url("/v1/chat/completions"), {"Content-Type: application/json"}, "{}", 10,
                              1 << 20, std::move(stop));
}

// What happens between the first transfer and the second.
enum class Between { nothing, serverClosed, stopped, pause };

struct ConnectionCase {
    const char* name;
    Between between;
    bool sameConnection;
};

} // namespace

TEST(HttpConnection, TheNextTransferReusesTheConnectionOnlyWhileItHolds) {
    const ConnectionCase cases[] = {
        {"the next follows at once", Between::nothing, true},
        {"the server said it closes", Between::serverClosed, false},
        {"the first was stopped half way", Between::stopped, false},
        {"the server dropped it while idle", Between::pause, false},
    };
    for (const ConnectionCase& row : cases) {
        SCOPED_TRACE(row.name);
        // Kept long enough that a loaded machine's next request still finds the connection, except where
        // the server is to drop it.
        LoopbackServer server(row.between == Between::pause ? 0 : 1);
        switch (row.between) {
        case Between::serverClosed:
            server.reply({Reply{200, "{}", {{"Connection", "close"}}}, Reply{200, "{}"}});
            EXPECT_EQ(post(server).statusCode, 200);
            break;
        case Between::stopped: {
            server.holdReplies();
            std::stop_source stop;
            auto first = std::async(std::launch::async, [&] { return post(server, stop.get_token()); });
            server.waitForRequests(1);
            stop.request_stop();
            EXPECT_THROW(first.get(), CancellationError);
            server.release();
            break;
        }
        case Between::pause:
            EXPECT_EQ(post(server).statusCode, 200);
            // Far past how long the test server keeps an idle connection.
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            break;
        case Between::nothing:
            EXPECT_EQ(post(server).statusCode, 200);
            break;
        }
        EXPECT_EQ(post(server).statusCode, 200);
        const auto requests = server.requests();
        ASSERT_EQ(requests.size(), 2u);
        EXPECT_EQ(requests[0].remotePort == requests[1].remotePort, row.sameConnection);
    }
}

TEST(HttpConnection, AServerGoneSinceTheLastTransferIsATransportError) {
    std::string url;
    {
        LoopbackServer gone;
        url = gone.url("/v1/chat/completions");
        EXPECT_EQ(post(gone).statusCode, 200);
    }
    EXPECT_THROW(HttpTransfer::post(url, {}, "{}", 10, 1 << 20, {}), TransportError);
}
