#include "core/TextPieces.h"

#include "core/Unicode.h"

namespace orvel::text {

std::string joined(const std::vector<std::string>& pieces, std::string_view separator) {
    std::string out;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            out += separator;
        out += pieces[i];
    }
    return out;
}

} // namespace orvel::text
