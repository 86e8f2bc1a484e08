#include "Orvel/app/InstanceMessage.h"

#include <algorithm>

namespace orvel::InstanceMessage {
namespace {

template <class Visit> void eachLine(std::string_view text, Visit&& visit) {
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        if (end > 0)
            visit(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
}

} // namespace

std::string of(const std::vector<std::string>& links) {
    std::string message;
    for (const std::string& link : links)
        eachLine(link, [&](std::string_view line) {
            message += line;
            message += '\n';
        });
    return message + '\n';
}

State state(std::string_view received) {
    if (received.size() > maximumBytes)
        return State::tooLarge;
    return received == "\n" || received.ends_with("\n\n") ? State::complete : State::incomplete;
}

std::vector<std::string> links(std::string_view message) {
    std::vector<std::string> found;
    eachLine(message, [&](std::string_view line) { found.emplace_back(line); });
    return found;
}

} // namespace orvel::InstanceMessage
