#pragma once
// The one door through which every model request passes, and the readers of JSON in model answers.

#include <cstddef>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "core/Json.h"
#include "engine/model/ChatMessage.h"
#include "engine/model/ModelSettings.h"

namespace orvel {

struct ChatClient {
    // Far above any real answer; a larger body (an endless or a compressed one included) ends the
    // transfer before it costs more memory.
    static constexpr std::size_t maximumAnswerBytes = std::size_t{32} << 20;

    ModelSettings settings;

    // The answer to `messages`, with reasoning blocks removed and trimmed. `json` asks for a JSON object
    // where the endpoint supports it. Throws ChatError (answerTooLarge past maximumAnswerBytes),
    // TransportError, CancellationError, or the errors of the Apple back-ends. Never waits after a rate
    // limit: the caller decides.
    std::string complete(const std::vector<ChatMessage>& messages, bool json,
                         std::stop_token stop = {}) const;

    // The list of objects an answer carries, preferring the one under `key`; nothing when there is none.
    static std::optional<std::vector<json::Json>> jsonObject(std::string_view answer, std::string_view key);
    // The one JSON object of an answer; throws ChatError::notJSON with the whole text otherwise.
    static json::Json decodeJSON(std::string_view answer);
    // The delay, in seconds, a rate-limit body asks for.
    static std::optional<double> retryDelay(std::string_view body);
    // The answer text of a chat-completion body; nothing when the body has another shape.
    static std::optional<std::string> answerText(std::string_view body);
    // Removes "<think>" reasoning blocks and trims the rest.
    static std::string stripThinking(std::string_view answer);
};

} // namespace orvel
