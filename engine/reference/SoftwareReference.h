#pragma once
// How six widely used programs translated English interface texts into one language.

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/Json.h"
#include "engine/reference/StyleStats.h"

namespace orvel {

// The word index over a reference's English phrases, built on first use and shared by every copy of
// the reference that holds it.
class PhraseIndex;

struct SoftwareReference {
    // The reference programs, in the order of every listing by program.
    enum class Source { android, chromium, firefox, thunderbird, libreoffice, vlc };
    static constexpr std::array allSources{Source::android,     Source::chromium,    Source::firefox,
                                           Source::thunderbird, Source::libreoffice, Source::vlc};

    // Why a program's files could not be had (SourceError.h).
    class SourceError;

    // One translation of an English text and how often each program uses it.
    struct Entry {
        std::string text;
        // Source raw value to the number of uses; only programs that use the translation have a key.
        std::map<std::string, std::int64_t> counts;

        // The uses by all programs together.
        std::int64_t total() const;

        // Both keys are required.
        static Entry fromJson(const json::Json& value);
        json::Json toJson() const;
        bool operator==(const Entry&) const = default;
    };

    using Table = std::map<std::string, std::vector<Entry>, std::less<>>;

    // One English text of a program and its translation there.
    struct Pair {
        std::string english;
        std::string translation;
        Source source = Source::android;
        // The message key inside the program's file.
        std::string key;

        bool operator==(const Pair&) const = default;
    };

    // An English phrase of the table with its leading translation: how widely used software worded a
    // word in a similar context.
    struct Phrase {
        // The folded, lower-case key of the table.
        std::string english;
        Entry translation;

        // "english → translation (Android, Firefox)", the programs in the order of every listing.
        std::string promptLine() const;
        bool operator==(const Phrase&) const = default;
    };

    // A phrase of the table that holds a given word.
    struct Candidate {
        std::string english;
        Entry leading;
        std::size_t wordCount = 0;
    };

    // Words that say nothing about the sense of another word next to them.
    static const std::set<std::string, std::less<>>& stopWords();

    // At most `limit` phrases of two to five words that contain `word`, those that more programs agree
    // on first, each translation (in any case) only once. Builds the phrase index on first use.
    std::vector<Candidate> candidates(std::string_view word, std::size_t limit) const;

    // At most `limit` phrases that show how the ambiguous words of `text` were translated next to the
    // other words of `text`; the phrases sharing most of their words with the text come first.
    std::vector<Phrase> phrases(std::string_view text, std::size_t limit) const;

    // How the programs translated `term`: "«text» (Android 12, Firefox 3)" for the leading translation
    // and for those among the first `limit` that two programs share or that are used at least a tenth as
    // often as the leader, joined with "; ". None when the table does not know the term.
    std::optional<std::string> evidence(std::string_view term, std::size_t limit) const;

    // The normalised language tag the reference was built for.
    std::string language;
    // Folded English text to its translations, the most used first.
    Table table;
    // Source raw value to the number of pairs it gave; programs that gave none have no key.
    std::map<std::string, std::int64_t> pairs;
    // Raw values of the programs whose files could not be had.
    std::vector<std::string> failed;
    // Source raw value to the typography of its translators.
    std::map<std::string, StyleStats> style;
    // Never null: every reference is made with its own empty index, which every copy then shares.
    std::shared_ptr<PhraseIndex> phraseIndex = newPhraseIndex();

  private:
    static std::shared_ptr<PhraseIndex> newPhraseIndex();
};

// The case name, as files and counts key the program.
std::string_view rawValue(SoftwareReference::Source source);
// The program's name as people write it ("LibreOffice").
std::string_view displayName(SoftwareReference::Source source);
// An exact, case-sensitive match of a raw value; anything else names no program.
std::optional<SoftwareReference::Source> sourceFromRawValue(std::string_view raw);

namespace json {

template <> struct Coder<SoftwareReference::Source> {
    static SoftwareReference::Source decode(const Json& value);
    static Json encode(SoftwareReference::Source value) { return std::string(rawValue(value)); }
};

} // namespace json
} // namespace orvel
