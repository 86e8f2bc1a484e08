#pragma once
// Written guidance for one target language: note lines for the system message of every model request,
// fixed words for English terms, wordings to avoid with the advice to give, and the quotation marks.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/model/TranslationStyle.h"

namespace orvel {

struct LanguageNotes {
    using TermMap = std::map<std::string, std::string>;

    struct Avoid {
        // Searched case-insensitively in a translation; "(?-i)" switches case sensitivity back on.
        std::string pattern;
        // The problem message when the pattern is found.
        std::string advice;
        // When present, the rule applies only to English sources in which this pattern is found.
        std::optional<std::string> source;
        bool operator==(const Avoid&) const = default;
    };

    struct Quotes {
        std::string open;
        std::string close;
        bool operator==(const Quotes&) const = default;
    };

    // The advice of the first rule a translation breaks, with the text its pattern matched.
    struct Match {
        std::string advice;
        std::string matched;
        bool operator==(const Match&) const = default;
    };

    // The decoded form of a note file (LanguageNotesFile.h).
    struct File;

    std::vector<std::string> always;
    std::vector<std::string> keepCommon;
    std::vector<std::string> translateAll;
    std::vector<std::string> informal;
    std::vector<std::string> formal;
    TermMap terms;
    // Style-specific words override `terms`.
    TermMap keepCommonTerms;
    TermMap translateAllTerms;
    // Tried in this order.
    std::vector<Avoid> avoid;
    std::optional<Quotes> quotes;

    bool operator==(const LanguageNotes&) const = default;

    // The built-in table by key ("ro", "de", "fr", "es", "it", "pt", "pt-PT"); built once, never changed.
    static const std::map<std::string, LanguageNotes, std::less<>>& builtIn();
    // The built-in row of a language code: any region gets its language's row, except that "pt-PT"
    // has its own. Null when there is none.
    static const LanguageNotes* builtIn(std::string_view code);

    // The notes every caller uses: the built-in row merged with the language's note file, computed on
    // the first request for the exact code and then served from a cache. Null when the language has
    // neither. Callable from any thread.
    static std::shared_ptr<const LanguageNotes> notes(std::string_view code);

    // The note lines that apply under a style, in the order always, terms treatment, form of address.
    std::vector<std::string> lines(const TranslationStyle& style) const;
    // `terms` with the style-specific words laid over them.
    TermMap fixedTerms(const TranslationStyle& style) const;

    // These notes (the built-in ones) with a note file's notes; the built-in notes win every conflict.
    LanguageNotes merge(const LanguageNotes& file) const;

    // The first avoid rule that the text breaks. A rule with a source pattern applies only when the
    // given source matches it, or when no source is given. Rules whose patterns do not compile are skipped.
    std::optional<Match> firstMatch(std::string_view text, std::optional<std::string_view> source = {}) const;
    std::optional<std::string> firstAdvice(std::string_view text,
                                           std::optional<std::string_view> source = {}) const;

    // Forgets every cached code, so that tests can change the note files a code reads.
    static void clearCacheForTesting();
};

} // namespace orvel
