#include "core/Unicode.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <stdexcept>

#include <unicode/brkiter.h>
#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/ucasemap.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utext.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

namespace orvel::text {
namespace {

struct UTextCloser {
    void operator()(UText* t) const { utext_close(t); }
};

// One break iterator per thread: ICU iterators are not safe to share.
icu::BreakIterator& characterBreaks() {
    thread_local std::unique_ptr<icu::BreakIterator> iterator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::BreakIterator> it(
            icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
        if (U_FAILURE(status) || !it)
            throw std::runtime_error("ICU character break iterator unavailable");
        return it;
    }();
    return *iterator;
}

// Offsets of grapheme boundaries, starting with 0 and ending with text.size().
std::vector<std::size_t> graphemeBoundaries(std::string_view text) {
    std::vector<std::size_t> bounds{0};
    if (text.empty())
        return bounds;
    // Most texts are plain ASCII, where every character is one cluster but a carriage return with its
    // line feed; the break iterator costs many times more.
    if (isAscii(text)) {
        bounds.reserve(text.size() + 1);
        for (std::size_t i = 1; i < text.size(); ++i)
            if (text[i - 1] != '\r' || text[i] != '\n')
                bounds.push_back(i);
        bounds.push_back(text.size());
        return bounds;
    }
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UText, UTextCloser> utext(
        utext_openUTF8(nullptr, text.data(), static_cast<int64_t>(text.size()), &status));
    if (U_FAILURE(status)) {
        bounds.push_back(text.size());
        return bounds;
    }
    auto& it = characterBreaks();
    it.setText(utext.get(), status);
    for (int32_t b = it.next(); b != icu::BreakIterator::DONE; b = it.next())
        bounds.push_back(static_cast<std::size_t>(b));
    if (bounds.back() != text.size())
        bounds.push_back(text.size());
    return bounds;
}

std::string caseMapped(std::string_view text, const char* locale, bool upper) {
    if (text.empty())
        return {};
    // ASCII letters map to ASCII letters in the root locale, and nothing else changes.
    if (*locale == '\0' && isAscii(text)) {
        std::string out(text);
        for (char& c : out)
            if (upper ? (c >= 'a' && c <= 'z') : (c >= 'A' && c <= 'Z'))
                c = static_cast<char>(c ^ 0x20);
        return out;
    }
    const std::string valid = decodeUtf8Lossy(text);
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UCaseMap, decltype(&ucasemap_close)> map(ucasemap_open(locale, 0, &status),
                                                             &ucasemap_close);
    if (U_FAILURE(status))
        return valid;
    std::string out(valid.size() + 16, '\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        status = U_ZERO_ERROR;
        auto fn = upper ? ucasemap_utf8ToUpper : ucasemap_utf8ToLower;
        int32_t n = fn(map.get(), out.data(), static_cast<int32_t>(out.size()), valid.data(),
                       static_cast<int32_t>(valid.size()), &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            out.resize(static_cast<std::size_t>(n));
            continue;
        }
        if (U_FAILURE(status))
            return valid;
        out.resize(static_cast<std::size_t>(n));
        return out;
    }
    return valid;
}

icu::Collator& standardCollator() {
    thread_local std::unique_ptr<icu::Collator> collator = []() -> std::unique_ptr<icu::Collator> {
        UErrorCode status = U_ZERO_ERROR;
        // Without a configured locale ICU reports the POSIX locale, whose ordering is plain code-point
        // order; people expect the ordinary ordering then.
        icu::Locale locale = icu::Locale::getDefault();
        if (std::string_view(locale.getName()) == "en_US_POSIX")
            locale = icu::Locale::getRoot();
        std::unique_ptr<icu::Collator> c(icu::Collator::createInstance(locale, status));
        if (U_FAILURE(status) || !c) {
            status = U_ZERO_ERROR;
            c.reset(icu::Collator::createInstance(icu::Locale::getRoot(), status));
        }
        if (!c)
            throw std::runtime_error("ICU collator unavailable");
        // Secondary strength ignores case but keeps accents apart.
        c->setStrength(icu::Collator::SECONDARY);
        c->setAttribute(UCOL_NUMERIC_COLLATION, UCOL_ON, status);
        return c;
    }();
    return *collator;
}

} // namespace

bool nextScalar(std::string_view text, std::size_t& offset, char32_t& scalar) {
    if (offset >= text.size())
        return false;
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    int32_t i = static_cast<int32_t>(offset);
    const int32_t length = static_cast<int32_t>(text.size());
    UChar32 c;
    U8_NEXT(bytes, i, length, c);
    scalar = c < 0 ? replacementCharacter : static_cast<char32_t>(c);
    offset = static_cast<std::size_t>(i);
    return true;
}

std::vector<char32_t> scalars(std::string_view text) {
    std::vector<char32_t> out;
    out.reserve(text.size());
    std::size_t offset = 0;
    char32_t c;
    while (nextScalar(text, offset, c))
        out.push_back(c);
    return out;
}

void appendScalar(std::string& out, char32_t scalar) {
    if (scalar > 0x10FFFF || (scalar >= 0xD800 && scalar <= 0xDFFF))
        scalar = replacementCharacter;
    uint8_t buffer[4];
    int32_t length = 0;
    U8_APPEND_UNSAFE(buffer, length, static_cast<UChar32>(scalar));
    out.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(length));
}

std::string fromScalars(const std::vector<char32_t>& list) {
    std::string out;
    out.reserve(list.size());
    for (char32_t c : list)
        appendScalar(out, c);
    return out;
}

std::vector<std::string_view> graphemes(std::string_view text) {
    const auto bounds = graphemeBoundaries(text);
    std::vector<std::string_view> out;
    out.reserve(bounds.size());
    for (std::size_t i = 1; i < bounds.size(); ++i)
        out.push_back(text.substr(bounds[i - 1], bounds[i] - bounds[i - 1]));
    return out;
}

std::size_t graphemeCount(std::string_view text) {
    return graphemeBoundaries(text).size() - 1;
}

bool isAlphabetic(char32_t scalar) {
    return u_hasBinaryProperty(static_cast<UChar32>(scalar), UCHAR_ALPHABETIC);
}

bool isNumber(char32_t scalar) {
    return (U_GET_GC_MASK(static_cast<UChar32>(scalar)) & U_GC_N_MASK) != 0;
}

bool isWhitespace(char32_t scalar) {
    // ASCII text is most of what is trimmed; its white space is fixed.
    if (scalar < 0x80)
        return scalar == U' ' || (scalar >= U'\t' && scalar <= U'\r');
    return u_hasBinaryProperty(static_cast<UChar32>(scalar), UCHAR_WHITE_SPACE);
}

bool isUppercase(char32_t scalar) {
    return u_hasBinaryProperty(static_cast<UChar32>(scalar), UCHAR_UPPERCASE);
}

bool isLowercase(char32_t scalar) {
    return u_hasBinaryProperty(static_cast<UChar32>(scalar), UCHAR_LOWERCASE);
}

bool isLetter(std::string_view character) {
    std::size_t offset = 0;
    char32_t first;
    return nextScalar(character, offset, first) && isAlphabetic(first);
}

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool containsLetter(std::string_view text) {
    // Only the first scalar of each cluster decides; scanning scalars at cluster starts is enough.
    for (std::string_view character : graphemes(text))
        if (isLetter(character))
            return true;
    return false;
}

std::string lowercased(std::string_view text) {
    return caseMapped(text, "", false);
}

std::string uppercased(std::string_view text) {
    return caseMapped(text, "", true);
}

std::string uppercasedFirst(std::string_view text, const std::string& localeId) {
    const auto bounds = graphemeBoundaries(text);
    if (bounds.size() < 2)
        return std::string(text);
    std::string out = caseMapped(text.substr(0, bounds[1]), localeId.c_str(), true);
    out.append(text.substr(bounds[1]));
    return out;
}

std::string nfc(std::string_view text) {
    // ICU hands its normalizer singleton to other threads through its own atomics, which
    // ThreadSanitizer cannot see; a local static hands it over through the language's own once-only
    // initialisation instead.
    static const icu::Normalizer2* const normalizer = [] {
        UErrorCode status = U_ZERO_ERROR;
        const icu::Normalizer2* instance = icu::Normalizer2::getNFCInstance(status);
        return U_SUCCESS(status) ? instance : nullptr;
    }();
    UErrorCode status = U_ZERO_ERROR;
    const std::string valid = decodeUtf8Lossy(text);
    if (!normalizer)
        return valid;
    if (normalizer->isNormalizedUTF8(valid, status) && U_SUCCESS(status))
        return valid;
    status = U_ZERO_ERROR;
    std::string out;
    icu::StringByteSink<std::string> sink(&out);
    normalizer->normalizeUTF8(0, valid, sink, nullptr, status);
    return U_FAILURE(status) ? valid : out;
}

bool canonicallyEqual(std::string_view a, std::string_view b) {
    return a == b || nfc(a) == nfc(b);
}

int localizedStandardCompare(std::string_view a, std::string_view b) {
    UErrorCode status = U_ZERO_ERROR;
    const std::string va = decodeUtf8Lossy(a), vb = decodeUtf8Lossy(b);
    UCollationResult r = standardCollator().compareUTF8(va, vb, status);
    if (U_FAILURE(status))
        return va.compare(vb);
    return r == UCOL_LESS ? -1 : (r == UCOL_GREATER ? 1 : 0);
}

std::string localizedStandardSortKey(std::string_view text) {
    const std::string valid = decodeUtf8Lossy(text);
    const icu::UnicodeString utf16 =
        icu::UnicodeString::fromUTF8(icu::StringPiece(valid.data(), static_cast<int32_t>(valid.size())));
    std::string key(valid.size() * 2 + 16, '\0');
    auto& collator = standardCollator();
    for (;;) {
        const int32_t length = collator.getSortKey(utf16, reinterpret_cast<uint8_t*>(key.data()),
                                                   static_cast<int32_t>(key.size()));
        if (length <= static_cast<int32_t>(key.size())) {
            key.resize(length > 0 ? static_cast<std::size_t>(length - 1) : 0); // drop the terminating zero
            return key;
        }
        key.resize(static_cast<std::size_t>(length));
    }
}

std::string decodeUtf8Lossy(std::string_view bytes) {
    if (isValidUtf8(bytes))
        return std::string(bytes);
    std::string out;
    out.reserve(bytes.size() + 8);
    std::size_t offset = 0;
    char32_t c;
    while (nextScalar(bytes, offset, c))
        appendScalar(out, c);
    return out;
}

bool isValidUtf8(std::string_view bytes) {
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    const int32_t length = static_cast<int32_t>(bytes.size());
    int32_t i = 0;
    while (i < length) {
        if (data[i] < 0x80) {
            ++i;
            continue;
        }
        UChar32 c;
        U8_NEXT(data, i, length, c);
        if (c < 0)
            return false;
    }
    return true;
}

std::string fromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    const auto* units = reinterpret_cast<const UChar*>(text.data());
    const int32_t length = static_cast<int32_t>(text.size());
    for (int32_t i = 0; i < length;) {
        UChar32 c;
        U16_NEXT(units, i, length, c);
        appendScalar(out, U_IS_SURROGATE(c) ? replacementCharacter : static_cast<char32_t>(c));
    }
    return out;
}

std::u16string toUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t offset = 0;
    char32_t c;
    while (nextScalar(text, offset, c)) {
        if (c <= 0xFFFF) {
            out.push_back(static_cast<char16_t>(c));
        } else {
            out.push_back(static_cast<char16_t>(U16_LEAD(c)));
            out.push_back(static_cast<char16_t>(U16_TRAIL(c)));
        }
    }
    return out;
}

} // namespace orvel::text
