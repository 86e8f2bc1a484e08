#pragma once
// A real HTTP server on 127.0.0.1 for the tests, on a port the system picks. It answers POST and GET
// requests with a script of replies and records what it was sent.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <httplib.h>

#include "core/Json.h"

namespace orvel::testing {

struct RecordedRequest {
    std::string method;
    std::string path;
    // The query as sent, without the "?"; empty when there is none.
    std::string query;
    std::multimap<std::string, std::string> headers;
    std::string body;
    // The client's side of the connection: requests with equal ports came over one connection.
    int remotePort = 0;
    // When the server had read it whole.
    std::chrono::steady_clock::time_point arrived{};

    bool hasHeader(const std::string& name) const { return headerCount(name) > 0; }
    std::size_t headerCount(const std::string& name) const;
    std::string header(const std::string& name) const;
    json::Json json() const { return json::parse(body); }
};

struct Reply {
    Reply(int status, std::string body, std::map<std::string, std::string> headers = {})
        : status(status), body(std::move(body)), headers(std::move(headers)) {}
    int status;
    std::string body;
    std::map<std::string, std::string> headers;
};

// A chat-completion body whose first choice's message has `content` (any JSON value).
std::string completionBody(const json::Json& content);

class LoopbackServer {
  public:
    // A connection stays open between requests for at most `keepAliveSeconds` when they follow each
    // other; with none, only while the next request follows at once (within the library's 10 ms check),
    // as a run's batches do. A longer one holds up the server's end while a client keeps it idle.
    explicit LoopbackServer(int keepAliveSeconds = 0);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    // "http://127.0.0.1:PORT" followed by `path`.
    std::string url(const std::string& path = "") const;

    // Replies in order; the last one repeats.
    void reply(std::vector<Reply> replies);
    // Requests answered at the same time.
    static constexpr std::size_t threadCount = 48;

    // Replies by what each request holds; called outside the server's lock, so requests in flight
    // together are answered together and the responder guards its own state. Replaces the script.
    void respond(std::function<Reply(const RecordedRequest&)> responder);
    // Holds every answer until release() (or the server's end), to play a slow endpoint.
    void holdReplies();
    void release();
    // Waits until `count` requests have arrived.
    void waitForRequests(std::size_t count);

    std::vector<RecordedRequest> requests() const;
    // Forgets the requests recorded so far, for a test that runs several cases against one server.
    void clearRequests();

  private:
    void handle(const httplib::Request& request, httplib::Response& response);

    httplib::Server m_server;
    int m_port = 0;
    std::thread m_thread;
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    std::deque<Reply> m_replies;
    std::function<Reply(const RecordedRequest&)> m_responder;
    std::vector<RecordedRequest> m_requests;
    bool m_holding = false;
};

} // namespace orvel::testing
