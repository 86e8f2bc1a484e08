// Readers of the core formats: catalogs, strings files, property lists, markers, placeholders and the
// state the companion publishes.

#include "core/AppManifest.h"
#include "core/AppState.h"
#include "core/DefaultsStore.h"
#include "core/FormatSpecifiers.h"
#include "core/Markers.h"
#include "core/OrvelProtocol.h"
#include "core/PropertyList.h"
#include "core/SourceString.h"
#include "core/StringCatalog.h"
#include "core/StringsFileParser.h"
#include "core/StringsFiles.h"
#include "core/Unicode.h"
#include "core/XmlPropertyList.h"
#include "fuzz/FuzzTarget.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>
#include <unistd.h>

namespace orvel::fuzz {
namespace {

std::optional<StringCatalog> decodedCatalog(std::string_view bytes, StringCatalog::Languages languages) {
    try {
        return StringCatalog::decode(bytes, languages);
    } catch (const json::DecodingError&) {
        return std::nullopt;
    }
}

void catalog(std::string_view bytes) {
    const std::optional<StringCatalog> decoded = decodedCatalog(bytes, StringCatalog::Languages::all);
    const std::optional<StringCatalog> source = decodedCatalog(bytes, StringCatalog::Languages::source);
    require(decoded.has_value() == source.has_value(),
            "keeping only the source language decodes the same texts");
    if (!decoded)
        return;
    const std::vector<SourceString> strings = SourceString::extract(*decoded, "Main");
    for (const auto& string : strings)
        require(SourceString::splitId(string.id()).second == string.key, "an id splits back into its key");
    require(SourceString::extract(*source, "Main") == strings,
            "the source language alone gives the same strings");
}

void stringsFile(std::string_view bytes) {
    StringsFileParser::parse(bytes);
    StringsFiles::readStrings(MemoryFile::shared().holding(bytes));
}

void stringsdict(std::string_view bytes) {
    for (const auto& [key, entry] : StringsFiles::readStringsdict(MemoryFile::shared().holding(bytes)))
        for (const auto& [category, form] : entry.forms)
            require(text::isValidUtf8(form), "plural forms are valid UTF-8");
}

// Whatever parses is written back as XML that parses again.
void propertyList(std::string_view bytes) {
    const auto parsed = PropertyList::parseWithinLimits(bytes);
    if (parsed.overLimits)
        PropertyList::topLevelScalars(bytes);
    if (!parsed.value)
        return;
    try {
        const std::string xml = XmlPropertyList::serialize(*parsed.value);
        require(PropertyList::parse(xml).has_value(), "a serialized property list parses");
    } catch (const XmlPropertyList::SerializationError&) {
        // Dates and data read as null, which has no property-list form.
    }
}

// Key and text pairs cut at NUL bytes: a ".strings" file written from them reads back the same pairs.
void stringsRoundTrip(std::string_view bytes) {
    StringsFiles::SimpleTable table;
    for (auto rest = bytes; !rest.empty();) {
        const auto pair = pieces(rest, 3);
        if (text::isValidUtf8(pair[0]) && text::isValidUtf8(pair[1]))
            table.emplace(pair[0], pair[1]);
        if (pair[2].empty())
            break;
        rest = pair[2];
    }
    const auto read = StringsFileParser::parse(StringsFiles::stringsText(table));
    require(read.has_value() && *read == table, "a written strings file reads back the same pairs");
}

// Stripping removes at least the shortest form of every marker it reports and nothing more. (Markers
// are read in one pass: removing one may join the text around it into a new one, which stays.)
void markers(std::string_view bytes) {
    const auto stripped = Markers::strip(bytes);
    require(Markers::clean(bytes) == stripped.text, "clean() is the text of strip()");
    std::size_t removed = 0;
    for (const auto id : stripped.ids) {
        require(id >= 0, "a marker number is not negative");
        removed += Markers::encode(id).size();
    }
    require(stripped.text.size() + removed <= bytes.size(), "stripping removes only markers");
    require(stripped.ids.empty() == (stripped.text == bytes), "a text changes exactly when it held a marker");
}

void formatSpecifiers(std::string_view bytes) {
    for (const auto& specifier : FormatSpecifiers::parse(bytes)) {
        require(specifier.range.end <= bytes.size() && specifier.range.start < specifier.range.end,
                "a placeholder lies inside the text");
        require(bytes.substr(specifier.range.start, specifier.range.length()) == specifier.raw,
                "a placeholder's range holds its raw text");
        FormatSpecifiers::typeClass(specifier.type);
    }
    FormatSpecifiers::signature(bytes);
    FormatSpecifiers::countArgument(bytes);
    FormatSpecifiers::countValueType(bytes);
}

void appState(std::string_view bytes) {
    try {
        const auto state = OrvelProtocol::decode<AppState>(bytes);
        OrvelProtocol::encode(state);
    } catch (const json::DecodingError&) {
    }
}

void appManifest(std::string_view bytes) {
    try {
        const auto manifest = OrvelProtocol::decode<AppManifest>(bytes);
        require(OrvelProtocol::decode<AppManifest>(OrvelProtocol::encode(manifest)) == manifest,
                "a manifest written reads back the same");
    } catch (const json::DecodingError&) {
    }
}

// One settings file in a folder of its own, made once per process.
const DefaultsStore& defaultsStore() {
    static const DefaultsStore store = [] {
        return *DefaultsStore::open("com.example.Fuzz", scratchFolder("orvel-fuzz-defaults"));
    }();
    return store;
}

// Whatever the file holds, reads give a value or nothing, and a write either replaces it with a file
// that reads back the written value or leaves it as it was.
void defaults(std::string_view bytes) {
    const DefaultsStore& store = defaultsStore();
    {
        std::ofstream out(store.fileURL(), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    store.value("OrvelLanguage");
    store.boolean("flag");
    store.integer("count");
    try {
        store.set("OrvelLanguage", std::string("de"));
        require(store.string("OrvelLanguage") == "de", "a written value reads back");
        store.remove("OrvelLanguage");
    } catch (const DefaultsStore::UnreadableFileError&) {
        std::ifstream in(store.fileURL(), std::ios::binary);
        const std::string kept((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        require(kept == bytes, "an unreadable file is left as it was");
    }
}

} // namespace

std::vector<NamedTarget> coreTargets() {
    return {{"catalog", catalog},
            {"strings", stringsFile},
            {"stringsdict", stringsdict},
            {"plist", propertyList},
            {"stringsroundtrip", stringsRoundTrip},
            {"markers", markers},
            {"specifiers", formatSpecifiers},
            {"state", appState},
            {"manifest", appManifest},
            {"defaults", defaults}};
}

} // namespace orvel::fuzz
