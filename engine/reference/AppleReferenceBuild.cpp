// Gathering how macOS words English interface texts from the loctable files of its apps, frameworks and
// extensions and from the localized names of its standard folders.

#include <algorithm>
#include <vector>

#include "core/FileIO.h"
#include "core/PathComponent.h"
#include "core/PropertyList.h"
#include "core/StringsFileParser.h"
#include "core/TextPieces.h"
#include "core/TextReplacing.h"
#include "core/Unicode.h"
#include "engine/reference/AppleReference.h"
#include "engine/reference/SystemLocalizations.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;

// Folded English text to (wording to weighted count).
using Counts = std::map<std::string, std::map<std::string, std::int64_t>>;

// The English of a loctable comes from a regional variant and is folded to American spelling; the plain
// "en" entry is never read.
constexpr std::array<std::string_view, 3> englishVariants{"en_GB", "en_AU", "en_CA"};
constexpr std::size_t longestEnglish = 80;
constexpr std::int64_t nameWeight = 50;
constexpr std::string_view folderNamesFile = "SystemFolderLocalizations.strings";

fs::path underRoot(const fs::path& root, std::string_view systemPath) {
    return root / fs::path(systemPath).relative_path();
}

// Calls `visit` for every file named "*.loctable" below `folder`, hidden ones and those inside packages
// included. Links to folders are not followed, so a link loop cannot trap the walk; a folder that cannot
// be listed is passed over.
template <class Visit> void forEachLoctable(const fs::path& folder, Visit&& visit) {
    std::vector<fs::path> pending{folder};
    while (!pending.empty()) {
        const fs::path current = std::move(pending.back());
        pending.pop_back();
        std::error_code error;
        for (fs::directory_iterator it(current, error), end; !error && it != end; it.increment(error)) {
            std::error_code statusError;
            const fs::file_status status = it->symlink_status(statusError);
            if (statusError)
                continue;
            if (fs::is_directory(status))
                pending.push_back(it->path());
            else if (it->path().extension() == ".loctable")
                visit(it->path());
        }
    }
}

const json::Json* member(const json::Json& object, std::string_view key) {
    const auto found = object.find(key);
    return found == object.end() ? nullptr : &*found;
}

void countLoctable(const fs::path& file, std::string_view code, Counts& counts) {
    const auto plist = PropertyList::readFile(file);
    if (!plist || !plist->is_object())
        return;
    const json::Json* english = nullptr;
    for (std::string_view variant : englishVariants)
        if ((english = member(*plist, variant)))
            break;
    const json::Json* translated = member(*plist, code);
    if (!english || !english->is_object() || !translated || !translated->is_object())
        return;
    const bool infoPlist = file.filename().string().starts_with("InfoPlist");
    for (const auto& [key, value] : english->items()) {
        const json::Json* wording = member(*translated, key);
        if (!value.is_string() || !wording || !wording->is_string())
            continue;
        const auto& englishText = value.get_ref<const std::string&>();
        if (englishText.empty() || text::graphemeCount(englishText) > longestEnglish)
            continue;
        // A blank system string names nothing; as a wording it would demand «» of every translation.
        const std::string_view trimmedWording = text::trimmed(wording->get_ref<const std::string&>());
        if (trimmedWording.empty())
            continue;
        const bool isName = infoPlist && (key == "CFBundleDisplayName" || key == "CFBundleName");
        counts[AppleReference::americanized(englishText)][std::string(trimmedWording)] +=
            isName ? nameWeight : 1;
    }
}

// The dictionary of a property list, binary, XML or old-style text; none when the file cannot be read
// or holds something else.
std::optional<json::Json> readDictionary(const fs::path& file) {
    const auto bytes = FileIO::readIfPresent(file);
    if (!bytes)
        return std::nullopt;
    if (auto plist = PropertyList::parse(*bytes))
        return plist->is_object() ? std::optional(std::move(*plist)) : std::nullopt;
    auto pairs = StringsFileParser::parse(*bytes);
    if (!pairs)
        return std::nullopt;
    json::Json object = json::Json::object();
    for (auto& [key, value] : *pairs)
        object[key] = std::move(value);
    return object;
}

std::optional<std::map<std::string, std::string>> stringsOnly(const std::optional<json::Json>& dictionary) {
    if (!dictionary)
        return std::nullopt;
    std::map<std::string, std::string> strings;
    for (const auto& [key, value] : dictionary->items()) {
        if (!value.is_string())
            return std::nullopt;
        strings.emplace(key, value.get<std::string>());
    }
    return strings;
}

void countFolderNames(const fs::path& folder, std::string_view code, Counts& counts) {
    const auto english = stringsOnly(readDictionary(folder / "en.lproj" / folderNamesFile));
    const std::string lproj = std::string(code) + ".lproj";
    if (!english || !isSafePathComponent(lproj))
        return;
    auto dictionary = readDictionary(folder / lproj / folderNamesFile);
    if (!dictionary)
        dictionary = readDictionary(folder / text::replacingAll(lproj, "_", "-") / folderNamesFile);
    const auto translated = stringsOnly(dictionary);
    if (!translated || translated->empty())
        return;
    for (const auto& [key, englishText] : *english)
        if (const auto found = translated->find(key);
            found != translated->end() && !text::trimmed(found->second).empty())
            counts[AppleReference::americanized(englishText)][found->second] += nameWeight;
}

AppleReference::Table tableOf(const Counts& counts) {
    AppleReference::Table table;
    for (const auto& [english, wordings] : counts) {
        std::vector<AppleReference::Entry> entries;
        for (const auto& [wording, count] : wordings)
            entries.push_back({wording, count});
        std::stable_sort(entries.begin(), entries.end(),
                         [](const auto& a, const auto& b) { return a.count > b.count; });
        if (entries.size() > AppleReference::maxEntries)
            entries.resize(AppleReference::maxEntries);
        table.emplace(english, std::move(entries));
    }
    return table;
}

} // namespace

AppleReference::Table AppleReference::build(std::string_view language) {
    const auto root = SystemLocalizations::root();
    if (!root)
        return {};
    Counts counts;
    for (std::string_view folder : systemFolders)
        forEachLoctable(underRoot(*root, folder),
                        [&](const fs::path& file) { countLoctable(file, language, counts); });
    countFolderNames(underRoot(*root, folderNamesFolder), language, counts);
    return tableOf(counts);
}

} // namespace orvel
