#pragma once
// Deciding whether a key term occurs in a text, whether a translation carries a chosen word in some
// inflected form, and which phrases of an app are worth fixing as key terms. Pure functions; the word
// sets are built once and never change, so everything here is safe on any thread.

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/AppManifest.h"
#include "core/RegexCache.h"
#include "core/SourceString.h"
#include "engine/pipeline/TranslationJob.h"

namespace orvel::Terms {

using WordSet = std::set<std::string, std::less<>>;
// English key term to its chosen word.
using TermMap = std::map<std::string, std::string>;
// (English term, chosen word).
using TermPair = std::pair<std::string, std::string>;

// Lower-case words that begin instructions rather than name things.
const WordSet& commandVerbs();
// Lower-case words too common to be or to bound a key term.
const WordSet& stopWords();
// Lower-case words whose translation depends on the words around them.
const WordSet& ambiguousWords();

// The glossary terms of the app's manifest and of the person's notes, lower-cased.
WordSet list(const TranslationJob& job);

// Maximal runs of letters and numbers; everything else separates.
std::vector<std::string> words(std::string_view text);

// The compiled pattern that finds `term` as a whole word (no letter touching either side), in any case
// unless `caseSensitive`, also with the endings "s" and "es" when `plural` is set; null for the empty term
// and when it cannot be compiled.
CompiledRegex wholeWord(std::string_view term, bool caseSensitive, bool plural);

// The search for one term's whole-word pattern (as wholeWord() makes it) in many texts: a text that cannot
// hold the term at all is ruled out without the pattern, which spares most texts of a run or a check the
// pattern's far dearer search, and most terms the pattern's look-up. A text can hold the term only where
// it holds the term's bytes when case counts, or (for an ASCII term in an ASCII text) the term in either
// case.
class Search {
  public:
    explicit Search(std::string_view term, bool caseSensitive = false, bool plural = true);
    // False when the pattern cannot be compiled and for the empty term.
    bool in(std::string_view text) const;
    bool inAny(const std::vector<SourceString>& strings) const;

  private:
    bool canHold(std::string_view text) const;

    std::string m_term;
    bool m_caseSensitive;
    bool m_plural;
    // The term as a text must hold it: as it is when case counts, lower-cased when it is ASCII and case
    // does not count, else empty.
    std::string m_plain;
};

// Whether the term's whole-word pattern matches anywhere in `text`; false when it cannot be compiled and
// for the empty term.
bool matches(std::string_view text, std::string_view term, bool caseSensitive, bool plural);

// The text with every code span between backticks replaced by one space.
std::string removingCode(std::string_view text);

// Whether the term, in any case and also in the plural, is in the string; never for a string marked
// not to be translated.
bool occurs(const SourceString& string, std::string_view term);

// Whether the term, in any case and also in the plural, is in the text of any of the strings.
bool occursInAny(std::string_view term, const std::vector<SourceString>& strings);

// The chosen terms found in the strings, longest term first (equal lengths in the map's order).
std::vector<TermPair> present(const TermMap& terms, const std::vector<SourceString>& strings);

// The stems of the text's words, after folding case and diacritics: words of fewer than three
// characters give none; longer words keep their first max(3, min(n - 2, 0.6 n)) characters.
std::vector<std::string> folded(std::string_view text);

// Whether every stem of `wording` begins some word of the folded text: the text carries the wording in
// some inflected form; in a language that joins prefixes to its words, also behind them. False for a
// wording without stems.
bool containsFolded(std::string_view text, std::string_view wording, std::string_view language = {});

// Whether a translation carries a chosen word or macOS wording, as the term checks demand it: words
// long enough for a stem as containsFolded() finds them, words of scripts written without spaces
// anywhere in the folded text, and a wording made only of short words ("OK", "Wi-Fi") as whole folded
// words. In a language that joins prefixes to its words, a word counts also behind them ("الملف" carries
// "ملف"). False for a wording without words.
bool carries(std::string_view text, std::string_view wording, std::string_view language = {});

// Abbreviations such as "USB", "PDF" or "A/B": two to eight characters, all capitals, numbers or one of
// "/", "-", "&", "²", "³", with at least two capitals.
bool isCapitalised(std::string_view term);

// Whether a change from `before` to `after` loses the chosen word of a term the source holds, the words
// read as the language writes them.
bool dropsChosenWord(std::string_view source, std::string_view before, std::string_view after,
                     const TermMap& terms, std::string_view language = {});

// At most `limit` phrases of the translatable strings that are worth fixing as key terms, most
// weighty first, as the app writes them (lower case preferred); glossary terms are left out.
std::vector<std::string> candidates(const std::vector<SourceString>& strings,
                                    const std::vector<AppManifest::Term>& glossary, std::size_t limit);

// Whether a phrase seen in `count` strings is common enough: four strings for one word, three for more.
bool isCandidate(std::string_view phrase, int count, const WordSet& excluding);

} // namespace orvel::Terms
