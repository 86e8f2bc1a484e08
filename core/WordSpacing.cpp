#include "core/WordSpacing.h"

#include <unicode/uscript.h>

#include <algorithm>
#include <array>

#include "core/Unicode.h"

namespace orvel::text {
namespace {

constexpr std::array<UScriptCode, 8> spacelessScripts{USCRIPT_HAN,     USCRIPT_HIRAGANA, USCRIPT_KATAKANA,
                                                      USCRIPT_THAI,    USCRIPT_LAO,      USCRIPT_KHMER,
                                                      USCRIPT_MYANMAR, USCRIPT_TIBETAN};

} // namespace

bool isWrittenWithoutSpaces(std::string_view character) {
    std::size_t offset = 0;
    char32_t scalar = 0;
    if (!nextScalar(character, offset, scalar))
        return false;
    // By script extensions, so that marks shared by such scripts ("ー", "々") count too.
    return std::any_of(spacelessScripts.begin(), spacelessScripts.end(), [scalar](UScriptCode script) {
        return uscript_hasScript(static_cast<UChar32>(scalar), script);
    });
}

bool hasTextWithoutSpaces(std::string_view text) {
    const auto characters = graphemes(text);
    return std::any_of(characters.begin(), characters.end(), isWrittenWithoutSpaces);
}

} // namespace orvel::text
