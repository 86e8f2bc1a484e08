#include <gtest/gtest.h>

#include <thread>

#include <httplib.h>
#include <zlib.h>

#include "engine/model/ChatClient.h"
#include "engine/model/ChatError.h"
#include "tests/support/LoopbackServer.h"

using namespace orvel;

namespace {

// Bytes in the zlib format that the "deflate" content encoding carries.
std::string deflated(const std::string& bytes) {
    uLongf size = compressBound(static_cast<uLong>(bytes.size()));
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(bytes.data()),
              static_cast<uLong>(bytes.size()), Z_BEST_COMPRESSION);
    out.resize(size);
    return out;
}

// One answer a server gives every request, on a port of its own.
class AnsweringServer {
  public:
    explicit AnsweringServer(httplib::Server::Handler handler) {
        m_server.Post(".*", std::move(handler));
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        // The socket already listens; waiting for the accept loop only keeps stop() from racing its start.
        while (!m_server.is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~AnsweringServer() {
        m_server.stop();
        m_thread.join();
    }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(m_port) + "/v1"; }

  private:
    httplib::Server m_server;
    int m_port = 0;
    std::thread m_thread;
};

TEST(ChatClientAnswerLimit, AnswersBeyondTheLimitEndTheTransferWithAClearError) {
    const std::size_t limit = ChatClient::maximumAnswerBytes;
    // A chat answer whose text alone passes the limit.
    const std::string oversized = orvel::testing::completionBody(std::string(limit + 1, 'a'));
    const std::string compressed = deflated(oversized);
    struct Row {
        const char* name;
        httplib::Server::Handler handler;
        bool fails;
    };
    const std::vector<Row> rows = {
        {"just within the limit",
         [&](const httplib::Request&, httplib::Response& response) {
             response.set_content(orvel::testing::completionBody(std::string(limit - 4096, 'a')),
                                  "application/json");
         },
         false},
        {"a plain body past it",
         [&](const httplib::Request&, httplib::Response& response) {
             response.set_content(oversized, "application/json");
         },
         true},
        {"a small compressed body that unpacks past it",
         [&](const httplib::Request&, httplib::Response& response) {
             response.set_header("Content-Encoding", "deflate");
             response.set_content(compressed, "application/json");
         },
         true},
        {"a chunked body that never ends",
         [](const httplib::Request&, httplib::Response& response) {
             response.set_chunked_content_provider("application/json",
                                                   [](std::size_t, httplib::DataSink& sink) {
                                                       const std::string chunk(1 << 20, ' ');
                                                       return sink.write(chunk.data(), chunk.size());
                                                   });
         },
         true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AnsweringServer server(row.handler);
        ModelSettings settings;
        settings.endpoint = server.url();
        settings.model = "test-model";
        settings.timeout = 60;
        const ChatClient client{settings};
        try {
            const std::string answer = client.complete({ChatMessage::user("Save")}, false);
            EXPECT_FALSE(row.fails);
            EXPECT_EQ(answer.size(), limit - 4096);
        } catch (const ChatError& error) {
            EXPECT_TRUE(row.fails) << error.what();
            EXPECT_EQ(error.kind(), ChatError::Kind::answerTooLarge);
            EXPECT_EQ(
                std::string(error.what()),
                "The endpoint's answer is larger than 32 MiB, far more than any real answer; it was not "
                "read");
        }
    }
}

} // namespace
