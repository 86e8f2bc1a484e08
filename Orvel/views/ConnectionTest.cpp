#include "Orvel/views/ConnectionTest.h"

#include "engine/model/ChatClient.h"

#include <exception>

namespace orvel {

std::optional<std::string> connectionTestError(const ModelSettings& settings, std::stop_token stop) {
    try {
        const ChatClient client{settings};
        const std::string answer = client.complete(
            {ChatMessage::system("Answer with JSON only."), ChatMessage::user(R"(Reply with {"ok": true})")},
            true, stop);
        ChatClient::decodeJSON(answer);
        return std::nullopt;
    } catch (const std::exception& error) {
        return std::string(error.what());
    } catch (...) {
        return std::string("The connection test failed.");
    }
}

} // namespace orvel
