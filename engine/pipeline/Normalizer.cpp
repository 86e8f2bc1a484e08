#include "engine/pipeline/Normalizer.h"

namespace orvel::Normalizer {

std::vector<std::string> codeParts(std::string_view code) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= code.size()) {
        const std::size_t end = code.find_first_of("-_", start);
        const std::size_t stop = end == std::string_view::npos ? code.size() : end;
        if (stop > start)
            parts.emplace_back(code.substr(start, stop - start));
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return parts;
}

} // namespace orvel::Normalizer
