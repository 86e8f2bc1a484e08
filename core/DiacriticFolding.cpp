#include "core/DiacriticFolding.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include "core/Unicode.h"

namespace orvel::text {

std::string foldedCaseAndDiacritics(std::string_view text) {
    // Taken once through a local static, as text::nfc() does with its normalizer, so that the handover
    // to other threads is one ThreadSanitizer can see.
    static const icu::Normalizer2* const decomposition = [] {
        UErrorCode status = U_ZERO_ERROR;
        const icu::Normalizer2* instance = icu::Normalizer2::getNFDInstance(status);
        return U_SUCCESS(status) ? instance : nullptr;
    }();
    UErrorCode status = U_ZERO_ERROR;
    if (!decomposition)
        return lowercased(text);
    const std::string valid = decodeUtf8Lossy(text);
    const icu::UnicodeString source =
        icu::UnicodeString::fromUTF8(icu::StringPiece(valid.data(), valid.size()));
    const icu::UnicodeString decomposed = decomposition->normalize(source, status);
    if (U_FAILURE(status))
        return lowercased(text);
    icu::UnicodeString bare;
    for (int32_t i = 0; i < decomposed.length();) {
        const UChar32 scalar = decomposed.char32At(i);
        if (u_charType(scalar) != U_NON_SPACING_MARK)
            bare.append(scalar);
        i += U16_LENGTH(scalar);
    }
    bare.foldCase(U_FOLD_CASE_DEFAULT);
    std::string out;
    bare.toUTF8String(out);
    return nfc(out);
}

} // namespace orvel::text
