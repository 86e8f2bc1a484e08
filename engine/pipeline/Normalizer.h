#pragma once
// Clean-up of model answers and language codes before they are used: a translation is brought in line
// with its English source and with the typography of its language before it is checked and stored.
// Pure functions; safe on any thread.

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace orvel::Normalizer {

using Forms = std::map<std::string, std::string>;

// The characters that end a sentence or a label.
const std::set<std::string, std::less<>>& sentenceEnds();

// Base language codes whose translations never get a period added.
const std::set<std::string, std::less<>>& noFinalPeriod();

// The translation cleaned against its source for the language: markers removed, escapes the model
// doubled undone, Romanian comma-below letters, ellipsis and percent signs written as the source writes
// them, the language's quotation marks, a colon where the source ends with one, the final period
// aligned with the source, and exactly the source's outer white space.
std::string normalize(std::string_view text, std::string_view source, std::string_view language);

// Every plural form cleaned against the same source; the categories are kept.
Forms normalize(const Forms& forms, std::string_view source, std::string_view language);

// The escapes "\n", "\t", "\"" and "\\" undone once, each only where the source holds the character it
// stands for and never the escape itself: a model that answers with a string literal's escapes would
// otherwise put a backslash on the screen.
std::string escapes(std::string_view text, std::string_view source);

// Literal percent signs written as the source writes them: single when the source is plain text or
// writes one single, doubled when every literal percent sign of the source is doubled.
std::string percentSigns(std::string_view text, std::string_view source);

// Double-quoted passages of the text given the language's marks, when the source quotes with double
// quotation marks and the text does not already use both marks. Quotations holding code are kept.
std::string quotes(std::string_view text, std::string_view source, std::string_view open,
                   std::string_view close);

// The final period of a trimmed text aligned with its trimmed source: added where the source ends a
// sentence with one, removed where the source ends without punctuation (abbreviations keep theirs).
std::string trailingPunctuation(std::string_view text, std::string_view source, std::string_view baseCode);

// The non-empty parts of a language code, split at every "-" and "_"; a code made only of separators
// has none.
std::vector<std::string> codeParts(std::string_view code);

// The words of a text: maximal runs of letters, digits and the apostrophes "'" and "’".
std::vector<std::string> words(std::string_view text);

} // namespace orvel::Normalizer
