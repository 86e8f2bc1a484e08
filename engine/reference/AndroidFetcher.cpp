// Android's translations of one language: four resource folders of the source tree, translated and
// English, each fetched as a tar.gz folder archive and paired by file and string name.

#include <array>

#include "engine/reference/AndroidStrings.h"
#include "engine/reference/Downloader.h"
#include "engine/reference/KeptCopies.h"
#include "engine/reference/ReferenceHosts.h"
#include "engine/reference/SoftwareReference.h"
#include "engine/reference/SourceError.h"

namespace orvel {
namespace {

constexpr std::string_view tag = "android-9.0.0_r1";

struct ResourceFolder {
    std::string_view repository;
    std::string_view folder;
};

constexpr std::array<ResourceFolder, 4> resourceFolders{{
    {"platform/frameworks/base", "core/res/res"},
    {"platform/frameworks/base", "packages/SystemUI/res"},
    {"platform/frameworks/base", "packages/SettingsLib/res"},
    {"platform/packages/apps/Settings", "res"},
}};

using Files = std::map<std::string, std::string>;

std::string archiveAddress(const std::string& base, const ResourceFolder& row, std::string_view values) {
    return base + std::string(row.repository) + "/+archive/refs/tags/" + std::string(tag) + "/" +
           std::string(row.folder) + "/" + std::string(values) + ".tar.gz";
}

Files xmlFiles(std::string_view archive) {
    return Downloader::files(archive, false, {"xml"});
}

// The translated files of a row, or nothing when the row has no folder for the language.
std::optional<Files> translatedFiles(const std::string& address, const Downloader& downloader,
                                     const std::stop_token& stop) {
    try {
        return xmlFiles(downloader.get(address, stop));
    } catch (const SoftwareReference::SourceError& error) {
        if (error.kind() == SoftwareReference::SourceError::Kind::missing)
            return std::nullopt;
        throw;
    }
}

} // namespace

SoftwareReference::Pairs SoftwareReference::fetchAndroid(const std::string& code,
                                                         const Downloader& downloader,
                                                         const ReferenceHosts& hosts,
                                                         const std::stop_token& stop) {
    Pairs pairs;
    bool found = false;
    for (const ResourceFolder& row : resourceFolders) {
        const auto translated =
            translatedFiles(archiveAddress(hosts.android, row, "values-" + code), downloader, stop);
        if (!translated)
            continue;
        found = true;
        const std::string englishAddress = archiveAddress(hosts.android, row, "values");
        const Files english = downloader.decodedKept(
            englishAddress, [](const std::string& body) { return xmlFiles(body); }, stop);
        const std::string keyBase =
            std::string(KeptCopies::lastComponent(row.repository)) + ":" + std::string(row.folder) + "/";
        for (const auto& [path, bytes] : *translated) {
            if (path.starts_with("donottranslate") || path.starts_with("config"))
                continue;
            const auto englishFile = english.find(path);
            if (englishFile == english.end())
                continue;
            SoftwareFormats::KeyedTexts englishTexts;
            try {
                englishTexts = SoftwareFormats::androidStrings(englishFile->second);
            } catch (...) {
                // A kept archive with a broken file is downloaded again by the next build.
                downloader.forgetKept(englishAddress);
                throw;
            }
            for (const auto& [name, translation] : SoftwareFormats::androidStrings(bytes)) {
                const auto text = englishTexts.find(name);
                if (text != englishTexts.end())
                    pairs.push_back(
                        {text->second, translation, Source::android, keyBase + path + ":" + name});
            }
        }
    }
    if (!found)
        throw SourceError::missing("values-" + code);
    return pairs;
}

} // namespace orvel
