#pragma once
// How macOS itself words interface texts in one language: the wordings of each folded English text,
// gathered from the system's own localizations and cached per language and system version, and the
// hint lines that tell the model and the checks which of those wordings a source text names.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/Json.h"

namespace orvel {

class AppleReference {
  public:
    // One wording macOS uses, with the weighted number of places that use it.
    struct Entry {
        std::string text;
        std::int64_t count = 0;

        // Both keys are required.
        static Entry fromJson(const json::Json& value);
        json::Json toJson() const;
        bool operator==(const Entry&) const = default;
    };

    // Folded English text to its wordings.
    using Table = std::map<std::string, std::vector<Entry>, std::less<>>;

    // (English phrase as the source writes it, macOS wording).
    using Pair = std::pair<std::string, std::string>;

    // The most wordings kept for one English text.
    static constexpr std::size_t maxEntries = 4;

    // The folders whose loctable files are read, in this order, below SystemLocalizations::root().
    static constexpr std::array<std::string_view, 5> systemFolders{
        "/System/Applications", "/System/Library/CoreServices", "/System/Library/Frameworks",
        "/System/Library/PrivateFrameworks", "/System/Library/ExtensionKit"};
    // The localized names of the standard folders, below the same root.
    static constexpr std::string_view folderNamesFolder =
        "/System/Library/CoreServices/SystemFolderLocalizations";

    AppleReference() = default;
    // Each list is put in order, most used first (ties keep their order), and cut to `maxEntries`, so
    // that a table read from anywhere holds what the hints expect.
    AppleReference(std::string language, Table table);

    // The language code as the caller asked for it ("pt-BR"), not the form the system files use.
    const std::string& language() const { return m_language; }
    const Table& table() const { return m_table; }

    // The wordings of a folded English text, most used first; none for a text macOS does not use.
    std::span<const Entry> wordings(std::string_view folded) const;

    // The wordings of an English text as written: wordings(americanized(text)).
    std::span<const Entry> entries(std::string_view text) const;

    // The first `limit` wordings of the text as "«text» (count)", joined with ", "; none when the limit
    // is 0 or macOS has no wording for it.
    std::optional<std::string> summary(std::string_view text, std::size_t limit) const;

    // The lines that tell the model how macOS words the phrases and menu-path parts of an English
    // source text, as in: macOS calls "Show Tab Bar" «...».
    std::vector<std::string> hints(std::string_view text) const;

    // The (English, wording) pairs of the text's hint lines, in line order.
    std::vector<Pair> pairs(std::string_view text) const;

    // The cached reference of a language, or a fresh one built from the system's localizations and
    // cached. None for English and when the system has nothing for the language. Never fails: whatever
    // cannot be read is skipped, a cache that cannot be written only costs the next call a rebuild.
    static std::optional<AppleReference> load(std::string_view language);

    // The code as the system's localizations name the language ("pt-BR" -> "pt_BR", "zh-Hant" ->
    // "zh_TW"); none for American English.
    static std::optional<std::string> normalizedLanguage(std::string_view code);

    // The cache file of a normalized code for the configured system tree: caches folder +
    // "Orvel/macos-reference/v2-<code>-<version letters and digits>.json". None for a code that would
    // lead out of the cache folder, and when no system tree is configured.
    static std::optional<std::filesystem::path> cacheURL(std::string_view language);

    // The table of a normalized code, freshly gathered from the system folders: for each folded English
    // text at most `maxEntries` wordings, most used first.
    static Table build(std::string_view language);

    // The key under which English texts are stored and looked up: trimmed, lower-cased, without trailing
    // "…", "." and ":", in American spelling.
    static std::string americanized(std::string_view text);

    bool operator==(const AppleReference&) const = default;

  private:
    std::string m_language;
    Table m_table;
};

} // namespace orvel
