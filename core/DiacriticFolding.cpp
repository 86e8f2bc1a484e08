#include "core/DiacriticFolding.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include "core/Unicode.h"

namespace orvel::text {
namespace {

bool isWidthVariant(UChar32 scalar) {
    const auto type = u_getIntPropertyValue(scalar, UCHAR_DECOMPOSITION_TYPE);
    return type == U_DT_WIDE || type == U_DT_NARROW;
}

// Full-width and half-width forms replaced by the characters they are variants of.
icu::UnicodeString withoutWidthVariants(const icu::UnicodeString& source, UErrorCode& status) {
    const icu::Normalizer2* compatibility = icu::Normalizer2::getNFKDInstance(status);
    if (U_FAILURE(status))
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
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* decomposition = icu::Normalizer2::getNFDInstance(status);
    if (U_FAILURE(status))
        return lowercased(text);
    const std::string valid = decodeUtf8Lossy(text);
    icu::UnicodeString source = icu::UnicodeString::fromUTF8(icu::StringPiece(valid.data(), valid.size()));
    if (width)
        source = withoutWidthVariants(source, status);
    if (U_FAILURE(status))
        return lowercased(text);
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
