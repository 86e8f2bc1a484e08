#include "engine/model/ChatMessage.h"

namespace orvel {

ChatMessage ChatMessage::fromJson(const json::Json& value) {
    return {json::required<std::string>(value, "role"), json::required<std::string>(value, "content")};
}

json::Json ChatMessage::toJson() const {
    json::Json out = json::Json::object();
    json::set(out, "role", role);
    json::set(out, "content", content);
    return out;
}

} // namespace orvel
