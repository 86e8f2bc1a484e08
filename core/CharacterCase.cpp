#include "core/CharacterCase.h"

#include <unicode/uchar.h>

#include <vector>

#include "core/Unicode.h"

namespace orvel::text {
namespace {

bool isCased(std::string_view character, const std::vector<char32_t>& scalars) {
    if (scalars.size() == 1 && u_hasBinaryProperty(static_cast<UChar32>(scalars.front()), UCHAR_CASED))
        return true;
    return uppercased(character) != character || lowercased(character) != character;
}

} // namespace

bool isUppercaseCharacter(std::string_view character) {
    const std::vector<char32_t> characterScalars = scalars(character);
    if (characterScalars.empty())
        return false;
    if (characterScalars.size() == 1 && isUppercase(characterScalars.front()))
        return true;
    return isCased(character, characterScalars) && uppercased(character) == character;
}

bool isLowercaseCharacter(std::string_view character) {
    const std::vector<char32_t> characterScalars = scalars(character);
    if (characterScalars.empty())
        return false;
    if (characterScalars.size() == 1 && isLowercase(characterScalars.front()))
        return true;
    return isCased(character, characterScalars) && lowercased(character) == character;
}

} // namespace orvel::text
