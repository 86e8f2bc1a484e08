#pragma once
// The classic localization files of an overlay: ".strings" (key to text) and ".stringsdict" (key to
// plural forms), and the atomic replacement through which every file of a target app's data folder
// is written.

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "core/Json.h"

namespace orvel::StringsFiles {

// One ".strings" file.
using SimpleTable = std::map<std::string, std::string>;

// One plural string of a ".stringsdict" file.
struct PluralEntry {
    // Plural category ("zero", "one", "two", "few", "many", "other") to the full text of that form.
    std::map<std::string, std::string> forms;
    // The format of the counted number for the plural rules, for example "lld".
    std::string valueType;
    // The 1-based position of the counted number among the arguments of the formatted string.
    std::int64_t argument = 1;

    bool operator==(const PluralEntry&) const = default;
};

// One ".stringsdict" file.
using PluralTable = std::map<std::string, PluralEntry>;

// The text in its ".strings" escaped form (without the surrounding quotes).
std::string escape(std::string_view text);

// The whole ".strings" file: one "key" = "text"; line per key, keys in ascending code point order.
std::string stringsText(const SimpleTable& table);

// Throws the error of the write (see writeAtomically).
void writeStrings(const SimpleTable& table, const std::filesystem::path& path);

// The property-list dictionary of a ".stringsdict" file.
json::Json stringsdictPlist(const PluralTable& table);

// Throws XmlPropertyList::SerializationError (leaving the disk untouched) or the error of the write.
void writeStringsdict(const PluralTable& table, const std::filesystem::path& path);
// The whole ".stringsdict" file. Throws XmlPropertyList::SerializationError.
std::string stringsdictText(const PluralTable& table);

// Never fail: a missing, unreadable or malformed file reads as an empty map. Texts come back in
// canonically composed form (NFC); keys come back exactly as written, because string ids are built
// from the keys of the catalogs as they stand and must match them.
SimpleTable readStrings(const std::filesystem::path& path);
PluralTable readStringsdict(const std::filesystem::path& path);

// Replaces the file at `path` with exactly `data` so that a reader sees either the old or the new
// content, never a mixture: the bytes go to a hidden temporary file beside the target, are flushed to
// disk, the temporary file is renamed over the target and the folder is flushed (OpenFolder). Missing
// folders are created.
// Throws std::filesystem::filesystem_error; on failure the temporary file is removed and an existing
// target is left untouched.
void writeAtomically(std::string_view data, const std::filesystem::path& path);

// The name of the temporary file used for `fileName`: a dot, the name, a dot, a fresh UUID, ".tmp".
std::string temporaryName(const std::string& fileName);
// Whether `name` has the form temporaryName() gives: a dot, a name that is not empty, a dot, a UUID in
// upper case, ".tmp".
bool isTemporaryName(std::string_view name);

} // namespace orvel::StringsFiles
