#pragma once
// Unicode text helpers: every module goes through these instead of calling ICU itself.
// Text is UTF-8 in std::string; offsets are byte offsets into that UTF-8.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orvel::text {

// The replacement character written in place of undecodable input.
inline constexpr char32_t replacementCharacter = U'\uFFFD';

// Reads the scalar at `offset` and advances `offset` past it; false at the end.
// An ill-formed sequence reads as U+FFFD and is skipped as one maximal subpart.
bool nextScalar(std::string_view text, std::size_t& offset, char32_t& scalar);
std::vector<char32_t> scalars(std::string_view text);
void appendScalar(std::string& out, char32_t scalar);
std::string fromScalars(const std::vector<char32_t>& scalars);

// User-perceived characters (extended grapheme clusters), as views into `text`.
std::vector<std::string_view> graphemes(std::string_view text);
std::size_t graphemeCount(std::string_view text);

// Scalar properties.
bool isAlphabetic(char32_t scalar);
bool isNumber(char32_t scalar);     // general category N (Nd, Nl, No)
bool isWhitespace(char32_t scalar); // White_Space property
bool isUppercase(char32_t scalar);  // Uppercase property
bool isLowercase(char32_t scalar);  // Lowercase property

// A character is a letter when its first scalar is Alphabetic.
bool isLetter(std::string_view character);
// True when any character of the text is a letter.
bool containsLetter(std::string_view text);
// Every byte is an ASCII character: one character each, whose letters are A-Z and a-z.
bool isAscii(std::string_view text);

// Case mapping without a locale (root rules).
std::string lowercased(std::string_view text);
std::string uppercased(std::string_view text);
// Upper-cases the first character with the rules of `localeId`, keeping the rest unchanged.
std::string uppercasedFirst(std::string_view text, const std::string& localeId);

// Canonical composition (NFC); canonically equivalent texts have the same NFC form.
std::string nfc(std::string_view text);
bool canonicallyEqual(std::string_view a, std::string_view b);

// The Finder-like ordering in the current locale: case-insensitive, digit runs compared by value.
// Returns a negative number, zero or a positive number.
int localizedStandardCompare(std::string_view a, std::string_view b);
inline bool localizedStandardLess(std::string_view a, std::string_view b) {
    return localizedStandardCompare(a, b) < 0;
}

// A byte string whose plain ordering is the ordering of localizedStandardCompare; sorting many texts
// by these keys is much faster than comparing them pairwise.
std::string localizedStandardSortKey(std::string_view text);

// Bytes as UTF-8, with every ill-formed sequence replaced by U+FFFD.
std::string decodeUtf8Lossy(std::string_view bytes);
bool isValidUtf8(std::string_view bytes);

// UTF-16 conversions; unpaired surrogates become U+FFFD.
std::string fromUtf16(std::u16string_view text);
std::u16string toUtf16(std::string_view text);

} // namespace orvel::text
