#pragma once
// Builds application bundles inside a test's scratch folder.

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "tests/support/ScratchFolder.h"

namespace orvel::testing {

inline std::string escapedXml(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// An XML property list holding a dictionary of string values.
inline std::string stringDictionaryPlist(const std::map<std::string, std::string>& values) {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
        "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n<plist version=\"1.0\">\n<dict>\n";
    for (const auto& [key, value] : values)
        xml += "\t<key>" + escapedXml(key) + "</key>\n\t<string>" + escapedXml(value) + "</string>\n";
    return xml + "</dict>\n</plist>\n";
}

inline const char* const minimalCatalog = R"({"sourceLanguage": "en", "strings": {}, "version": "1.0"})";

// A bundle `folder`/`fileName` with an Info.plist of `info`; `catalogs` maps file names in the manifest
// folder to their contents.
inline std::filesystem::path makeBundle(const ScratchFolder& scratch, const std::filesystem::path& relative,
                                        const std::map<std::string, std::string>& info,
                                        const std::map<std::string, std::string>& catalogs = {
                                            {"Localizable.xcstrings", minimalCatalog}}) {
    scratch.write(relative / "Contents" / "Info.plist", stringDictionaryPlist(info));
    scratch.makeFolder(relative / "Contents" / "Resources");
    for (const auto& [name, contents] : catalogs)
        scratch.write(relative / "Contents" / "Resources" / "Orvel" / name, contents);
    return scratch.path() / relative;
}

} // namespace orvel::testing
