#pragma once
// Folding that lets texts in different inflections and spellings meet: "Prêts" and "prets" fold alike.

#include <string>
#include <string_view>

namespace orvel::text {

// The text without case and diacritic distinctions, independent of any locale: canonically decomposed,
// stripped of its non-spacing marks, case-folded (full folding, so "ß" becomes "ss") and recomposed.
std::string foldedCaseAndDiacritics(std::string_view text);

// The same folding with character width left out as well: full-width and half-width forms become their
// ordinary characters ("ＡＢＣ" folds like "abc"). What a search that ignores case, diacritics and width
// compares.
std::string foldedCaseDiacriticsAndWidth(std::string_view text);

} // namespace orvel::text
