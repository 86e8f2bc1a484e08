#include "engine/model/PromptTemplate.h"

namespace orvel::Prompt {

std::string filled(std::string_view text, const std::map<std::string_view, std::string>& values) {
    std::string out;
    out.reserve(text.size() * 2);
    std::size_t offset = 0;
    while (offset < text.size()) {
        const std::size_t open = text.find("[[", offset);
        if (open == std::string_view::npos)
            break;
        const std::size_t close = text.find("]]", open + 2);
        if (close == std::string_view::npos)
            break;
        const auto value = values.find(text.substr(open + 2, close - open - 2));
        if (value == values.end()) {
            out.append(text.substr(offset, open + 2 - offset));
            offset = open + 2;
            continue;
        }
        out.append(text.substr(offset, open - offset));
        out.append(value->second);
        offset = close + 2;
    }
    out.append(text.substr(offset));
    return out;
}

std::string optionalLine(bool present, const std::function<std::string()>& line) {
    if (!present)
        return {};
    const std::string text = line();
    std::string out;
    out.reserve(text.size() + 1);
    out.push_back('\n');
    out.append(text);
    return out;
}

} // namespace orvel::Prompt
