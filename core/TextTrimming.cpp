#include "core/TextPieces.h"

#include "core/ScalarTrimming.h"
#include "core/Unicode.h"

namespace orvel::text {

std::string_view trimmed(std::string_view text) {
    return trimmedScalars(text, isWhitespace);
}

} // namespace orvel::text
