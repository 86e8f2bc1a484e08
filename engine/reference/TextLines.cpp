#include "engine/reference/TextLines.h"

#include "core/ScalarTrimming.h"

namespace orvel::SoftwareFormats {

std::vector<std::string> lines(std::string_view text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        std::string_view line = text.substr(start, end == std::string_view::npos ? end : end - start);
        if (end != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        out.emplace_back(line);
        if (end == std::string_view::npos)
            return out;
        start = end + 1;
    }
}

std::string_view trimmedHorizontally(std::string_view text) {
    return text::trimmedScalars(text, text::isInlineWhitespace);
}

std::string_view droppingLeadingSpacesAndTabs(std::string_view text) {
    const auto start = text.find_first_not_of(" \t");
    return start == std::string_view::npos ? std::string_view() : text.substr(start);
}

} // namespace orvel::SoftwareFormats
