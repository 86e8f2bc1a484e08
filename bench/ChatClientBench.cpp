// Requests per second through the chat client against a loopback server that answers at once, so that
// the client's own cost (request building, transfer set-up, answer reading) is what is measured.

#include <benchmark/benchmark.h>

#include <memory>
#include <mutex>
#include <thread>

#include <httplib.h>

#include "core/Json.h"
#include "engine/model/ChatClient.h"

namespace {

class InstantServer {
  public:
    InstantServer() {
        const orvel::json::Json answer = {
            {"choices",
             orvel::json::Json::array({{{"message", {{"role", "assistant"}, {"content", "Sichern"}}}}})}};
        m_body = orvel::json::dump(answer);
        m_server.new_task_queue = [] { return new httplib::ThreadPool(32); };
        m_server.Post(".*", [this](const httplib::Request&, httplib::Response& response) {
            // With the charset named the server sends the answer uncompressed, so its own work stays small.
            response.set_content(m_body, "application/json; charset=utf-8");
        });
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        while (!m_server.is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~InstantServer() {
        m_server.stop();
        m_thread.join();
    }
    std::string endpoint() const { return "http://127.0.0.1:" + std::to_string(m_port) + "/v1"; }

  private:
    httplib::Server m_server;
    std::string m_body;
    int m_port = 0;
    std::thread m_thread;
};

InstantServer& server() {
    static InstantServer instance;
    return instance;
}

void chatCompletionRoundTrip(benchmark::State& state) {
    orvel::ChatClient client;
    client.settings.endpoint = server().endpoint();
    client.settings.model = "bench";
    client.settings.temperature = 0.2;
    client.settings.jsonMode = true;
    client.settings.timeout = 30;
    const std::vector<orvel::ChatMessage> messages{
        orvel::ChatMessage::system("Translate into German."),
        orvel::ChatMessage::user(R"({"items":[{"id":"1","en":"Save"}]})")};
    for (auto _ : state)
        benchmark::DoNotOptimize(client.complete(messages, true));
    // The library sums each thread's counter and, with real time, divides by the wall time of the run (it
    // averages the threads' real times): each thread's own count gives the requests per second of all
    // threads together. Scaling by the thread count here would count every request once per thread.
    state.counters["requests_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// Sixteen threads finish a one-iteration estimate in one round trip each, so without a minimum time the
// figure rests on a single request per thread and varies from run to run.
BENCHMARK(chatCompletionRoundTrip)->Threads(1)->Threads(16)->UseRealTime()->MinTime(1.0);

} // namespace
