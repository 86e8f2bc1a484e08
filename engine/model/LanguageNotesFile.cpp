#include "engine/model/LanguageNotesFile.h"

#include <algorithm>
#include <system_error>

#include "core/FileIO.h"
#include "core/Locked.h"
#include "core/PathComponent.h"
#include "core/Unicode.h"
#include "engine/pipeline/Normalizer.h"
#include "engine/reference/SourceCodes.h"

namespace orvel {
namespace json {

template <> struct Coder<LanguageNotes::Avoid> {
    static LanguageNotes::Avoid decode(const Json& value) {
        return LanguageNotes::Avoid{required<std::string>(value, "pattern"),
                                    required<std::string>(value, "advice"),
                                    optional<std::string>(value, "source")};
    }
};

template <> struct Coder<LanguageNotes::Quotes> {
    static LanguageNotes::Quotes decode(const Json& value) {
        return LanguageNotes::Quotes{required<std::string>(value, "open"),
                                     required<std::string>(value, "close")};
    }
};

} // namespace json

namespace {

// Every text and key in canonical composition, so that file texts compare with the built-in ones.
// Done on the decoded notes, not on the JSON tree, so that deep nesting under an ignored key costs
// no recursion.
void compose(std::string& text) {
    text = text::nfc(text);
}

void compose(std::vector<std::string>& lines) {
    std::ranges::for_each(lines, [](std::string& line) { compose(line); });
}

void compose(LanguageNotes::TermMap& terms) {
    LanguageNotes::TermMap out;
    for (const auto& [term, word] : terms)
        out.insert_or_assign(text::nfc(term), text::nfc(word));
    terms = std::move(out);
}

LanguageNotes composed(LanguageNotes notes) {
    for (auto* lines :
         {&notes.always, &notes.keepCommon, &notes.translateAll, &notes.informal, &notes.formal})
        compose(*lines);
    for (auto* terms : {&notes.terms, &notes.keepCommonTerms, &notes.translateAllTerms})
        compose(*terms);
    for (auto& rule : notes.avoid) {
        compose(rule.pattern);
        compose(rule.advice);
        if (rule.source)
            compose(*rule.source);
    }
    if (notes.quotes) {
        compose(notes.quotes->open);
        compose(notes.quotes->close);
    }
    return notes;
}

template <class T> T valueOrEmpty(const std::optional<T>& value) {
    return value ? *value : T{};
}

// A language code becomes a file name: one that could leave the folder names no file at all.
bool mayNameFile(std::string_view language) {
    return language.find('/') == std::string_view::npos && language.find("..") == std::string_view::npos &&
           language.find('\0') == std::string_view::npos;
}

std::optional<std::filesystem::path> runningExecutable() {
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || path.empty())
        return std::nullopt;
    return path;
}

Locked<std::optional<std::filesystem::path>>& folderOverride() {
    static Locked<std::optional<std::filesystem::path>> instance;
    return instance;
}

} // namespace

LanguageNotes::File LanguageNotes::File::fromJson(const json::Json& value) {
    return File{
        json::optional<std::vector<std::string>>(value, "always"),
        json::optional<std::vector<std::string>>(value, "keepCommon"),
        json::optional<std::vector<std::string>>(value, "translateAll"),
        json::optional<std::vector<std::string>>(value, "informal"),
        json::optional<std::vector<std::string>>(value, "formal"),
        json::optional<TermMap>(value, "terms"),
        json::optional<TermMap>(value, "keepCommonTerms"),
        json::optional<TermMap>(value, "translateAllTerms"),
        json::optional<std::vector<Rule>>(value, "avoid"),
        json::optional<Quotes>(value, "quotes"),
    };
}

LanguageNotes LanguageNotes::File::toNotes() const {
    return LanguageNotes{valueOrEmpty(always),          valueOrEmpty(keepCommon),
                         valueOrEmpty(translateAll),    valueOrEmpty(informal),
                         valueOrEmpty(formal),          valueOrEmpty(terms),
                         valueOrEmpty(keepCommonTerms), valueOrEmpty(translateAllTerms),
                         valueOrEmpty(avoid),           quotes};
}

LanguageNotes LanguageNotes::File::notes(std::string_view bytes) {
    return composed(fromJson(json::parse(bytes)).toNotes());
}

std::vector<std::string> LanguageNotes::File::candidateNames(std::string_view language) {
    std::string normalized(language);
    std::ranges::replace(normalized, '_', '-');
    if (normalized == "zh-HK" || normalized == "zh-MO")
        normalized = "zh-Hant";

    std::vector<std::string> names;
    if (auto codes = SourceCodes::lookup(language))
        names.push_back(codes->identifier);
    if (!normalized.empty())
        names.push_back(normalized);
    if (auto parts = Normalizer::codeParts(normalized); !parts.empty())
        names.push_back(parts.front());
    return names;
}

std::optional<LanguageNotes> LanguageNotes::File::load(std::string_view language) {
    if (!mayNameFile(language))
        return std::nullopt;
    const auto folder = folderURL();
    if (!folder)
        return std::nullopt;
    for (const auto& name : candidateNames(language)) {
        const std::string fileName = name + ".json";
        if (!isSafePathComponent(fileName))
            continue;
        const auto bytes = FileIO::readIfPresent(*folder / fileName);
        if (!bytes)
            continue;
        try {
            return notes(*bytes);
        } catch (const json::DecodingError&) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::vector<std::filesystem::path>
LanguageNotes::File::candidateFolders(const std::filesystem::path& executable) {
    const auto folder = executable.parent_path();
    return {folder / "LanguageNotes", folder.parent_path() / "share" / "orvel" / "LanguageNotes"};
}

std::optional<std::filesystem::path>
LanguageNotes::File::firstExistingFolder(const std::vector<std::filesystem::path>& candidates) {
    for (const auto& candidate : candidates) {
        std::error_code error;
        if (std::filesystem::is_directory(candidate, error))
            return candidate;
    }
    return std::nullopt;
}

std::optional<std::filesystem::path> LanguageNotes::File::folderURL() {
    if (auto folder = folderOverride().get())
        return folder;
    static const std::optional<std::filesystem::path> found = []() -> std::optional<std::filesystem::path> {
        const auto executable = runningExecutable();
        if (!executable)
            return std::nullopt;
        return firstExistingFolder(candidateFolders(*executable));
    }();
    return found;
}

void LanguageNotes::File::setFolderOverride(std::optional<std::filesystem::path> folder) {
    folderOverride().set(std::move(folder));
}

} // namespace orvel
