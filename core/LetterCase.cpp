#include "core/LetterCase.h"

#include "core/Unicode.h"

namespace orvel::text {
namespace {

bool firstScalar(std::string_view character, char32_t& scalar) {
    std::size_t offset = 0;
    return nextScalar(character, offset, scalar);
}

} // namespace

bool isUppercaseLetter(std::string_view character) {
    char32_t scalar;
    return firstScalar(character, scalar) && isAlphabetic(scalar) && isUppercase(scalar);
}

bool isLowercaseLetter(std::string_view character) {
    char32_t scalar;
    return firstScalar(character, scalar) && isAlphabetic(scalar) && isLowercase(scalar);
}

} // namespace orvel::text
