#include "tests/support/LoopbackServer.h"

#include <chrono>
#include <optional>
#include <stdexcept>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <strings.h>
#include <sys/socket.h>

namespace orvel::testing {

std::size_t RecordedRequest::headerCount(const std::string& name) const {
    std::size_t count = 0;
    for (const auto& [key, value] : headers)
        if (strcasecmp(key.c_str(), name.c_str()) == 0)
            ++count;
    return count;
}

std::string RecordedRequest::header(const std::string& name) const {
    for (const auto& [key, value] : headers)
        if (strcasecmp(key.c_str(), name.c_str()) == 0)
            return value;
    return {};
}

std::string completionBody(const json::Json& content) {
    json::Json body = {
        {"choices", json::Json::array({{{"message", {{"role", "assistant"}, {"content", content}}}}})}};
    return json::dump(body);
}

namespace {

// The library listens with a queue of five waiting connections; a window of thirty-two batches
// connecting at once would have the rest dropped and tried again only a second later. Listening again
// on the bound socket widens the queue.
void widenAcceptQueue(int port) {
    for (int fd = 0; fd < 1024; ++fd) {
        int listening = 0;
        socklen_t size = sizeof listening;
        sockaddr_in address{};
        socklen_t addressSize = sizeof address;
        if (getsockopt(fd, SOL_SOCKET, SO_ACCEPTCONN, &listening, &size) == 0 && listening &&
            getsockname(fd, reinterpret_cast<sockaddr*>(&address), &addressSize) == 0 &&
            address.sin_family == AF_INET && ntohs(address.sin_port) == port)
            ::listen(fd, SOMAXCONN);
    }
}

} // namespace

LoopbackServer::LoopbackServer(int keepAliveSeconds) {
    const auto handler = [this](const httplib::Request& request, httplib::Response& response) {
        handle(request, response);
    };
    // Enough workers for every request of the widest window the tests and benchmarks open.
    m_server.new_task_queue = [] { return new httplib::ThreadPool(threadCount); };
    // Otherwise a worker would sit on an idle connection for seconds and hold up the server's end.
    m_server.set_keep_alive_timeout(keepAliveSeconds);
    // Without it the answer's body waits behind its headers for the client's delayed acknowledgement.
    m_server.set_tcp_nodelay(true);
    m_server.Post(".*", handler);
    m_server.Get(".*", handler);
    m_port = m_server.bind_to_any_port("127.0.0.1");
    if (m_port <= 0)
        throw std::runtime_error("the test server could not bind to the loopback interface");
    widenAcceptQueue(m_port);
    m_thread = std::thread([this] { m_server.listen_after_bind(); });
    // The socket already listens; waiting for the accept loop only keeps stop() from racing its start.
    while (!m_server.is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

LoopbackServer::~LoopbackServer() {
    release();
    m_server.stop();
    m_thread.join();
}

std::string LoopbackServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
}

void LoopbackServer::reply(std::vector<Reply> replies) {
    std::lock_guard guard(m_lock);
    m_replies.assign(replies.begin(), replies.end());
}

void LoopbackServer::respond(std::function<Reply(const RecordedRequest&)> responder) {
    std::lock_guard guard(m_lock);
    m_responder = std::move(responder);
}

void LoopbackServer::holdReplies() {
    std::lock_guard guard(m_lock);
    m_holding = true;
}

void LoopbackServer::release() {
    {
        std::lock_guard guard(m_lock);
        m_holding = false;
    }
    m_changed.notify_all();
}

void LoopbackServer::waitForRequests(std::size_t count) {
    std::unique_lock lock(m_lock);
    m_changed.wait(lock, [&] { return m_requests.size() >= count; });
}

std::vector<RecordedRequest> LoopbackServer::requests() const {
    std::lock_guard guard(m_lock);
    return m_requests;
}

void LoopbackServer::clearRequests() {
    std::lock_guard guard(m_lock);
    m_requests.clear();
}

void LoopbackServer::handle(const httplib::Request& request, httplib::Response& response) {
    const auto arrived = std::chrono::steady_clock::now();
    std::unique_lock lock(m_lock);
    const auto question = request.target.find('?');
    const RecordedRequest recorded{request.method,
                                   request.path,
                                   question == std::string::npos ? std::string()
                                                                 : request.target.substr(question + 1),
                                   {request.headers.begin(), request.headers.end()},
                                   request.body,
                                   request.remote_port,
                                   arrived};
    m_requests.push_back(recorded);
    m_changed.notify_all();
    // Bounded, so that a client that fails to give up shows as a failed test rather than a hung one.
    m_changed.wait_for(lock, std::chrono::seconds(10), [&] { return !m_holding; });
    std::optional<Reply> reply;
    if (const auto responder = m_responder) {
        // Outside the lock: a responder may take its time, and requests in flight together are answered
        // together.
        lock.unlock();
        reply = responder(recorded);
    } else {
        reply = m_replies.empty() ? Reply{200, completionBody("ok"), {}} : m_replies.front();
        if (m_replies.size() > 1)
            m_replies.pop_front();
    }
    response.status = reply->status;
    for (const auto& [name, value] : reply->headers)
        response.set_header(name, value);
    // With the charset named the library sends the answer uncompressed: compressing costs every answer
    // milliseconds, which a benchmark of many requests would count.
    response.set_content(reply->body, "application/json; charset=utf-8");
}

} // namespace orvel::testing
