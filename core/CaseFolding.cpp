#include "core/CaseFolding.h"

#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include "core/Unicode.h"

namespace orvel::text {
namespace {

icu::UnicodeString folded(std::string_view text) {
    const std::string canonical = nfc(text);
    icu::UnicodeString value =
        icu::UnicodeString::fromUTF8(icu::StringPiece(canonical.data(), canonical.size()));
    return value.foldCase(U_FOLD_CASE_DEFAULT);
}

} // namespace

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return folded(a) == folded(b);
}

bool containsIgnoringCase(std::string_view text, std::string_view part) {
    return !part.empty() && folded(text).indexOf(folded(part)) >= 0;
}

} // namespace orvel::text
