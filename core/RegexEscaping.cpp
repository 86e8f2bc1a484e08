#include "core/RegexEscaping.h"

namespace orvel::regex {

std::string escapedPattern(std::string_view text) {
    static constexpr std::string_view special = R"(\^$.|?*+()[]{}-/#&~!<>=:,'"@%;`)";
    std::string out;
    out.reserve(text.size() * 2);
    for (const char c : text) {
        if (special.find(c) != std::string_view::npos)
            out.push_back('\\');
        out.push_back(c);
    }
    return out;
}

} // namespace orvel::regex
