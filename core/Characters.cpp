#include "core/Characters.h"

#include <unicode/uchar.h>

#include "core/Unicode.h"

namespace orvel::text {
namespace {

bool firstScalar(std::string_view character, char32_t& scalar) {
    std::size_t offset = 0;
    return nextScalar(character, offset, scalar);
}

} // namespace

bool isPunctuation(std::string_view character) {
    char32_t scalar;
    return firstScalar(character, scalar) && (U_GET_GC_MASK(static_cast<UChar32>(scalar)) & U_GC_P_MASK) != 0;
}

bool isDigit(std::string_view character) {
    char32_t scalar;
    return firstScalar(character, scalar) && isNumber(scalar);
}

std::string_view lastCharacter(std::string_view text) {
    if (text.empty())
        return text;
    return graphemes(text).back();
}

} // namespace orvel::text
