#pragma once
// How six widely used programs translated English interface texts into one language.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "core/Json.h"
#include "engine/reference/GritMessages.h"
#include "engine/reference/StyleStats.h"

namespace orvel {

// The word index over a reference's English phrases, built on first use and shared by every copy of
// the reference that holds it.
class PhraseIndex;
class Downloader;
struct ReferenceHosts;
struct SourceCodes;

namespace SoftwareFormats {
struct POEntry;
} // namespace SoftwareFormats

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

        // The order of two entries of one English text: more programs, then more uses, then the better
        // ranked program (`sourceOrder`: raw value to rank; an entry of unknown programs ranks 9), then
        // the text in code point order of its composed form.
        static bool precedes(const Entry& a, const Entry& b,
                             const std::map<std::string, int, std::less<>>& sourceOrder);
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
        // All four fields, the program by its rank.
        bool operator<(const Pair& other) const;
    };

    using Pairs = std::vector<Pair>;
    // Hands on each progress and log text of a build; may be called from any of its tasks.
    using Progress = std::function<void(const std::string&)>;

    // What one program's task of a build gave.
    struct Outcome {
        Source source = Source::android;
        Pairs pairs;
        // The program's files could not be had for another reason than a missing language.
        bool failed = false;
    };

    // The cache file's record (SoftwareReferenceCache.h).
    struct Cache;
    // How a build reaches the programs' hosts and how long it waits (SoftwareReferenceCache.h).
    struct BuildSettings;

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

    // The reference of a language tag: from its cache file when that is usable, else built from the
    // six programs and cached. None when the tag names no language with translations (English, or no
    // plausible language code), or when nothing could be built and no older cache exists. Never throws;
    // a stop request ends a build without writing anything.
    static std::optional<SoftwareReference> load(std::string_view language, const Progress& progress,
                                                 const BuildSettings& settings,
                                                 const std::stop_token& stop = {});
    static std::optional<SoftwareReference> load(std::string_view language, const Progress& progress = {});

    // The cache file of a language identifier (SourceCodes::identifier) in the user's caches folder.
    static std::filesystem::path cacheURL(std::string_view language);

    // The six programs fetched at once with one downloader, and their outcomes collected.
    static Cache build(const SourceCodes& codes, const Progress& progress, const BuildSettings& settings,
                       const std::stop_token& stop = {});
    // One program's task; never throws: failures become the outcome and a progress line.
    static Outcome fetch(Source source, const SourceCodes& codes, const Downloader& downloader,
                         const ReferenceHosts& hosts, const Progress& progress,
                         const std::stop_token& stop = {});
    // The cache record of a build's outcomes, built now.
    static Cache collect(const std::vector<Outcome>& outcomes, const SourceCodes& codes);
    // Writes the cache file atomically; failures are reported, never thrown.
    static void save(const Cache& cache, const Progress& progress);
    // Writes the text to the system log and hands it to `progress` when there is one.
    static void report(const std::string& message, const Progress& progress);

    // The most translations the table keeps of one English text.
    static constexpr std::size_t maxEntries = 4;
    // Program raw value to its rank in the order of every listing, as Entry::precedes takes it.
    static const std::map<std::string, int, std::less<>>& sourceRanks();
    // Folded English text to at most `maxEntries` translations in the order of Entry::precedes.
    static Table tableFrom(const Pairs& pairs, std::string_view language);
    // A translation without outer white space and final "…", "." and ":"; for Romanian, the cedilla
    // letters written with the comma below.
    static std::string cleanTranslation(std::string_view translation, std::string_view language);

    // Chromium: the messages of both English resource files paired with their translations by id.
    static Pairs chromiumPairs(const std::string& code, const Downloader& downloader,
                               const ReferenceHosts& hosts, const std::stop_token& stop = {});
    static Pairs chromiumPairs(const std::string& grd, const std::string& code, const Downloader& downloader,
                               const ReferenceHosts& hosts, const std::stop_token& stop = {});
    // The messages of one included part file, by id.
    static std::map<std::string, SoftwareFormats::GritMessage, std::less<>>
    gritPartMessages(const std::string& path, const std::string& base, const std::string& repository,
                     const Downloader& downloader, const std::stop_token& stop = {});

    // LibreOffice: every PO file of the language's folder at the release tag.
    static Pairs libreOfficePairs(const std::string& code, const Downloader& downloader,
                                  const ReferenceHosts& hosts, const std::stop_token& stop = {});
    static Pairs libreOfficeFilePairs(const std::string& path, const std::string& base,
                                      const Downloader& downloader, const std::stop_token& stop = {});
    // One or two pairs of a PO entry: the singular, and the plural with the last translated form.
    static Pairs poPairs(const SoftwareFormats::POEntry& entry, const std::string& file, Source source,
                         const std::function<std::string(std::string_view)>& clean);

    // Android: the strings of four resource folders paired with their English by file and name.
    static Pairs fetchAndroid(const std::string& code, const Downloader& downloader,
                              const ReferenceHosts& hosts, const std::stop_token& stop = {});

    // Firefox and Thunderbird: the locale's files at the release's revision (from the `changesets`
    // listing; the archive lies below `localeRepositories`) paired with the English files of the
    // release's `englishBases` by path and key.
    static Pairs fetchMozilla(Source source, const std::string& code,
                              const std::vector<std::string>& englishBases, const std::string& changesets,
                              const std::string& localeRepositories, const Downloader& downloader,
                              const std::stop_token& stop = {});
    static Pairs fetchFirefox(const std::string& code, const Downloader& downloader,
                              const ReferenceHosts& hosts, const std::stop_token& stop = {});
    static Pairs fetchThunderbird(const std::string& code, const Downloader& downloader,
                                  const ReferenceHosts& hosts, const std::stop_token& stop = {});

    // VLC: the language's PO catalogue.
    static Pairs fetchVLC(const std::string& code, const Downloader& downloader, const ReferenceHosts& hosts,
                          const std::stop_token& stop = {});

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
