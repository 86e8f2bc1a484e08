#pragma once
// Note files: one JSON file per language in the "LanguageNotes" folder installed with the program.
// A file adds notes for a language without built-in notes, or fills what a built-in row leaves empty.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Json.h"
#include "engine/model/LanguageNotes.h"

namespace orvel {

struct LanguageNotes::File {
    using Rule = LanguageNotes::Avoid;
    using Quotes = LanguageNotes::Quotes;

    // Every key is optional; null counts as absent.
    std::optional<std::vector<std::string>> always;
    std::optional<std::vector<std::string>> keepCommon;
    std::optional<std::vector<std::string>> translateAll;
    std::optional<std::vector<std::string>> informal;
    std::optional<std::vector<std::string>> formal;
    std::optional<TermMap> terms;
    std::optional<TermMap> keepCommonTerms;
    std::optional<TermMap> translateAllTerms;
    std::optional<std::vector<Rule>> avoid;
    std::optional<Quotes> quotes;

    // Throws json::DecodingError for a wrong type, a rule without "pattern" or "advice", or quotes
    // without "open" or "close".
    static File fromJson(const json::Json& value);
    LanguageNotes toNotes() const;

    // The notes of a note file's bytes, every text in NFC; throws json::DecodingError when they do
    // not decode.
    static LanguageNotes notes(std::string_view bytes);

    // The notes of a language's note file, or nothing. The first candidate file that can be read
    // decides: when it does not decode, no later candidate is tried. A code that could name a path
    // outside the folder reads no file.
    static std::optional<LanguageNotes> load(std::string_view language);

    // The file names tried for a language, without ".json", in order: the reference identifier of the
    // language, the code with "-" between its parts (Hong Kong and Macau Chinese read as "zh-Hant"),
    // and its language part. Repeats are kept.
    static std::vector<std::string> candidateNames(std::string_view language);

    // The note folder, found once per process; the test override takes precedence when set.
    static std::optional<std::filesystem::path> folderURL();

    // Where the folder is looked for, in order: beside the executable, then the installed share folder.
    static std::vector<std::filesystem::path> candidateFolders(const std::filesystem::path& executable);
    // The first candidate that is a folder.
    static std::optional<std::filesystem::path>
    firstExistingFolder(const std::vector<std::filesystem::path>& candidates);

    // Makes every lookup use this folder (or, with nothing, the folder found beside the program).
    static void setFolderOverride(std::optional<std::filesystem::path> folder);
};

} // namespace orvel
