#pragma once
// One message of a model request.

#include <string>

#include "core/Json.h"

namespace orvel {

struct ChatMessage {
    // "system" or "user".
    std::string role;
    std::string content;

    static ChatMessage system(std::string content) { return {"system", std::move(content)}; }
    static ChatMessage user(std::string content) { return {"user", std::move(content)}; }

    static ChatMessage fromJson(const json::Json& value);
    json::Json toJson() const;
    bool operator==(const ChatMessage&) const = default;
};

} // namespace orvel
