// The readers of model answers: pure functions of their text.

#include "engine/model/ChatClient.h"

#include "core/Regex.h"
#include "core/TextPieces.h"
#include "core/Unicode.h"
#include "engine/model/ChatError.h"
#include "engine/model/DelaySeconds.h"

namespace orvel {
namespace {

// A copy of a JSON value recurses once per level, so the answers of a broken or hostile endpoint are
// refused when nested deeper than the platform's JSON reader goes.
std::optional<json::Json> parsed(std::string_view text) {
    try {
        return json::parseWithinNesting(text);
    } catch (const json::DecodingError&) {
        return std::nullopt;
    }
}

bool isListOfObjects(const json::Json& value) {
    if (!value.is_array())
        return false;
    for (const auto& element : value)
        if (!element.is_object())
            return false;
    return true;
}

// The span from the first `open` to the last `close`, both included, when the opening comes first.
std::optional<std::string_view> span(std::string_view text, char open, char close) {
    const auto first = text.find(open);
    const auto last = text.rfind(close);
    if (first == std::string_view::npos || last == std::string_view::npos || first >= last)
        return std::nullopt;
    return text.substr(first, last - first + 1);
}

std::optional<std::vector<json::Json>> listIn(const json::Json& value, std::string_view key) {
    if (isListOfObjects(value))
        return std::vector<json::Json>(value.begin(), value.end());
    if (!value.is_object())
        return std::nullopt;
    if (auto entry = value.find(key); entry != value.end() && isListOfObjects(*entry))
        return std::vector<json::Json>(entry->begin(), entry->end());
    const json::Json* only = nullptr;
    for (const auto& entry : value) {
        if (!isListOfObjects(entry))
            continue;
        if (only)
            return std::nullopt;
        only = &entry;
    }
    if (!only)
        return std::nullopt;
    return std::vector<json::Json>(only->begin(), only->end());
}

} // namespace

std::optional<std::vector<json::Json>> ChatClient::jsonObject(std::string_view answer, std::string_view key) {
    const std::optional<std::string_view> candidates[] = {answer, span(answer, '{', '}'),
                                                          span(answer, '[', ']')};
    for (const auto& candidate : candidates) {
        if (!candidate)
            continue;
        if (auto value = parsed(*candidate))
            if (auto list = listIn(*value, key))
                return list;
    }
    return std::nullopt;
}

json::Json ChatClient::decodeJSON(std::string_view answer) {
    if (auto value = parsed(answer); value && value->is_object())
        return *value;
    if (auto braces = span(answer, '{', '}'))
        if (auto value = parsed(*braces); value && value->is_object())
            return *value;
    throw ChatError::notJSON(std::string(answer));
}

std::optional<double> ChatClient::retryDelay(std::string_view body) {
    static constexpr std::string_view patterns[] = {R"(retry in ([0-9.]+)\s*s)",
                                                    R"("retryDelay"\s*:\s*"([0-9.]+)s")"};
    for (const auto pattern : patterns) {
        const auto compiled = RegexCache::regex(pattern, true);
        if (!compiled)
            continue;
        const auto match = regex::firstMatch(*compiled, body);
        if (!match)
            continue;
        std::string number;
        for (const char32_t scalar : text::scalars(match->text(body)))
            if (scalar == U'.' || text::isNumber(scalar))
                text::appendScalar(number, scalar);
        if (auto seconds = parseDelaySeconds(number))
            return seconds;
    }
    return std::nullopt;
}

std::optional<std::string> ChatClient::answerText(std::string_view body) {
    const auto value = parsed(body);
    if (!value || !value->is_object())
        return std::nullopt;
    const auto choices = value->find("choices");
    if (choices == value->end() || !isListOfObjects(*choices) || choices->empty())
        return std::nullopt;
    const auto& first = choices->front();
    const auto message = first.find("message");
    if (message == first.end() || !message->is_object())
        return std::nullopt;
    const auto content = message->find("content");
    if (content == message->end())
        return std::nullopt;
    if (content->is_string())
        return content->get<std::string>();
    if (!isListOfObjects(*content))
        return std::nullopt;
    std::string joined;
    for (const auto& part : *content)
        if (auto text = part.find("text"); text != part.end() && text->is_string())
            joined += text->get_ref<const std::string&>();
    return joined;
}

std::string ChatClient::stripThinking(std::string_view answer) {
    static constexpr std::string_view open = "<think>";
    static constexpr std::string_view close = "</think>";
    std::string text(answer);
    while (true) {
        const auto start = text.find(open);
        if (start == std::string::npos)
            break;
        const auto end = text.find(close, start + open.size());
        if (end == std::string::npos)
            break;
        text.erase(start, end + close.size() - start);
    }
    if (const auto end = text.find(close); end != std::string::npos)
        text.erase(0, end + close.size());
    return std::string(text::trimmed(text));
}

} // namespace orvel
