#include "core/DiacriticFolding.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include "core/Unicode.h"

namespace orvel::text {
namespace {

// Normalizers are taken once through local statics, as text::nfc() does, so that the handover to other
// threads is one ThreadSanitizer can see.
const icu::Normalizer2* normalizer(const icu::Normalizer2* (*instance)(UErrorCode&)) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* found = instance(status);
    return U_SUCCESS(status) ? found : nullptr;
}

const icu::Normalizer2* canonicalDecomposition() {
    static const icu::Normalizer2* const instance = normalizer(&icu::Normalizer2::getNFDInstance);
    return instance;
}

const icu::Normalizer2* compatibilityDecomposition() {
    static const icu::Normalizer2* const instance = normalizer(&icu::Normalizer2::getNFKDInstance);
    return instance;
}

bool isWidthVariant(UChar32 scalar) {
    const auto type = u_getIntPropertyValue(scalar, UCHAR_DECOMPOSITION_TYPE);
    return type == U_DT_WIDE || type == U_DT_NARROW;
}

// Full-width and half-width forms replaced by the characters they are variants of.
icu::UnicodeString withoutWidthVariants(const icu::UnicodeString& source) {
    const icu::Normalizer2* compatibility = compatibilityDecomposition();
    if (!compatibility)
        return source;
    icu::UnicodeString out;
    for (int32_t i = 0; i < source.length();) {
        const UChar32 scalar = source.char32At(i);
        icu::UnicodeString decomposition;
        if (isWidthVariant(scalar) && compatibility->getDecomposition(scalar, decomposition))
            out.append(decomposition);
        else
            out.append(scalar);
        i += U16_LENGTH(scalar);
    }
    return out;
}

std::string folded(std::string_view text, bool width) {
    const icu::Normalizer2* decomposition = canonicalDecomposition();
    if (!decomposition)
        return lowercased(text);
    const std::string valid = decodeUtf8Lossy(text);
    icu::UnicodeString source = icu::UnicodeString::fromUTF8(icu::StringPiece(valid.data(), valid.size()));
    if (width)
        source = withoutWidthVariants(source);
    UErrorCode status = U_ZERO_ERROR;
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

} // namespace

std::string foldedCaseAndDiacritics(std::string_view text) {
    return folded(text, false);
}

std::string foldedCaseDiacriticsAndWidth(std::string_view text) {
    return folded(text, true);
}

} // namespace orvel::text
