#include "core/TextReplacing.h"

namespace orvel::text {

std::string replacingAll(std::string_view text, std::string_view target, std::string_view replacement) {
    if (target.empty())
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t found = text.find(target); found != std::string_view::npos;
         found = text.find(target, start)) {
        out.append(text.substr(start, found - start));
        out.append(replacement);
        start = found + target.size();
    }
    out.append(text.substr(start));
    return out;
}

} // namespace orvel::text
