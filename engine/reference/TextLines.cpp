#include "engine/reference/TextLines.h"

#include "core/Unicode.h"

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

bool isHorizontalWhitespace(char32_t scalar) {
    switch (scalar) {
    case U'\n':
    case U'\v':
    case U'\f':
    case U'\r':
    case U'\u0085':
    case U'\u2028':
    case U'\u2029':
        return false;
    default:
        return text::isWhitespace(scalar);
    }
}

std::string_view trimmedHorizontally(std::string_view text) {
    std::size_t start = text.size();
    std::size_t end = 0;
    std::size_t offset = 0;
    char32_t scalar;
    while (true) {
        const std::size_t before = offset;
        if (!text::nextScalar(text, offset, scalar))
            break;
        if (isHorizontalWhitespace(scalar))
            continue;
        if (start == text.size())
            start = before;
        end = offset;
    }
    return start < end ? text.substr(start, end - start) : std::string_view();
}

std::string_view droppingLeadingSpacesAndTabs(std::string_view text) {
    const auto start = text.find_first_not_of(" \t");
    return start == std::string_view::npos ? std::string_view() : text.substr(start);
}

} // namespace orvel::SoftwareFormats
