// Readers of the translation files of other programs, downloaded from their projects.

#include "core/Unicode.h"
#include "engine/reference/AndroidStrings.h"
#include "engine/reference/ArchiveFiles.h"
#include "engine/reference/Base64.h"
#include "engine/reference/BodyText.h"
#include "engine/reference/GritMessages.h"
#include "engine/reference/MozillaStrings.h"
#include "engine/reference/PoEntries.h"
#include "engine/reference/SourceError.h"
#include "engine/reference/XmlTree.h"
#include "fuzz/FuzzTarget.h"

namespace orvel::fuzz {
namespace {

using namespace SoftwareFormats;

void xmlTree(std::string_view bytes) {
    try {
        const auto root = tree(bytes);
        elements("string", {root});
        for (const auto& element : root->elements()) {
            element->text();
            androidText(*element);
        }
    } catch (const XmlError&) {
    }
}

void android(std::string_view bytes) {
    try {
        androidStrings(bytes);
    } catch (const XmlError&) {
    }
}

void grd(std::string_view bytes) {
    try {
        gritMessages(*tree(bytes));
    } catch (const XmlError&) {
    }
}

void xtb(std::string_view bytes) {
    try {
        xtbTranslations(bytes);
    } catch (const XmlError&) {
    }
}

void dtd(std::string_view bytes) {
    dtdStrings(bytes);
    numericReferencesDecoded(bytes);
}

void properties(std::string_view bytes) {
    propertiesStrings(bytes);
}

void fluent(std::string_view bytes) {
    fluentStrings(bytes);
}

void po(std::string_view bytes) {
    for (const auto& entry : poEntries(bytes))
        require(!entry.id.empty(), "an entry has an id");
}

// The first byte chooses zip or tar; small limits keep every run short.
void archive(std::string_view bytes) {
    const bool zip = !bytes.empty() && (bytes[0] & 1);
    const ArchiveFiles::Limits limits{1000, 1 << 20, 4 << 20};
    try {
        for (const auto& [path, contents] : ArchiveFiles::files(bytes.substr(bytes.empty() ? 0 : 1), zip,
                                                                {"po", "xtb", "xml", "ftl"}, limits)) {
            require(!path.empty() && !path.starts_with('/') &&
                        ("/" + path + "/").find("/../") == std::string::npos,
                    "an unpacked path stays inside the archive");
            require(contents.size() <= limits.fileBytes, "an unpacked file keeps within the limit");
        }
    } catch (const SoftwareReference::SourceError&) {
    }
}

// What decodes is whole base64 text: three bytes for every four characters of the alphabet, less one
// for each "=" at its end.
void base64(std::string_view bytes) {
    const auto decoded = Base64::decoded(bytes);
    if (!decoded)
        return;
    std::string alphabet;
    for (const char c : bytes)
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' ||
            c == '/' || c == '=')
            alphabet += c;
    std::size_t padding = 0;
    while (padding < alphabet.size() && alphabet[alphabet.size() - 1 - padding] == '=')
        ++padding;
    require(alphabet.size() % 4 == 0, "a decoded text is whole quads");
    require(decoded->size() == alphabet.size() / 4 * 3 - padding, "every quad gives three bytes");
}

void bodyText(std::string_view bytes) {
    require(text::isValidUtf8(BodyText::decoded(bytes)), "a body reads as UTF-8");
}

} // namespace

std::vector<NamedTarget> referenceTargets() {
    return {{"xmltree", xmlTree}, {"android", android},       {"grd", grd},          {"xtb", xtb},
            {"dtd", dtd},         {"properties", properties}, {"fluent", fluent},    {"po", po},
            {"archive", archive}, {"base64", base64},         {"bodytext", bodyText}};
}

} // namespace orvel::fuzz
