#pragma once
// The prefixes that some languages write joined to the front of a word: Arabic "ال" (the), "ب" (with)
// or "و" (and), Hebrew "ה" (the), "ב" (in) or "ש" (that). A chosen word carries them in a translation
// ("الملف" is "ملف" with its article), so the term checks look at the word behind them too. Pure
// functions; the prefix lists are built once and never change.

#include <string>
#include <string_view>
#include <vector>

namespace orvel::Terms {

// The folded words, each followed by what is left of it behind every joined prefix of the language
// that it begins with (a remainder of fewer than two characters is no word); the words alone for a
// language that joins no prefixes.
std::vector<std::string> withJoinedPrefixesRemoved(std::vector<std::string> foldedWords,
                                                   std::string_view language);

} // namespace orvel::Terms
