// Firefox 60 and Thunderbird 60: the locale repository at the revision the release shipped, paired with
// the release's English locale folders by file path and entity key.

#include <array>

#include "core/Json.h"
#include "engine/reference/Downloader.h"
#include "engine/reference/MozillaStrings.h"
#include "engine/reference/ReferenceHosts.h"
#include "engine/reference/SoftwareReference.h"
#include "engine/reference/SourceError.h"

namespace orvel {
namespace {

constexpr std::string_view englishFolder = "/locales/en-US/";
// Keyboard shortcuts and access keys are no interface texts.
constexpr std::array<std::string_view, 4> droppedSuffixes{"accesskey", "AccessKey", ".commandkey", ".key"};

using Files = std::map<std::string, std::string>;

Files localizationFiles(std::string_view archive) {
    return Downloader::files(archive, true, {"dtd", "properties", "ftl"});
}

bool isDropped(std::string_view key) {
    for (const auto suffix : droppedSuffixes)
        if (key.ends_with(suffix))
            return true;
    return false;
}

// The locale's revision in the release's changesets listing, or nothing when it is not listed.
std::optional<std::string> revisionOf(const json::Json& changesets, const std::string& code) {
    if (!changesets.is_object())
        return std::nullopt;
    const auto locale = changesets.find(code);
    if (locale == changesets.end() || !locale->is_object())
        return std::nullopt;
    const auto revision = locale->find("revision");
    if (revision == locale->end() || !revision->is_string())
        return std::nullopt;
    return revision->get<std::string>();
}

} // namespace

SoftwareReference::Pairs SoftwareReference::fetchMozilla(Source source, const std::string& code,
                                                         const std::vector<std::string>& englishBases,
                                                         const std::string& changesets,
                                                         const std::string& localeRepositories,
                                                         const Downloader& downloader,
                                                         const std::stop_token& stop) {
    const json::Json listing = downloader.decodedKept(
        changesets, [](const std::string& body) { return json::parse(body); }, stop);
    const auto revision = revisionOf(listing, code);
    if (!revision)
        throw SourceError::missing(code + " in " + std::string(displayName(source)) + " 60");
    const Files locale = localizationFiles(
        downloader.data(localeRepositories + code + "/archive/" + *revision + ".zip", false, stop));

    Pairs pairs;
    for (const std::string& base : englishBases) {
        const Files english = downloader.decodedKept(
            base, [](const std::string& body) { return localizationFiles(body); }, stop);
        for (const auto& [englishPath, bytes] : english) {
            const auto folder = englishPath.find(englishFolder);
            if (folder == std::string::npos)
                continue;
            const std::string localePath =
                englishPath.substr(0, folder) + "/" + englishPath.substr(folder + englishFolder.size());
            const auto localeFile = locale.find(localePath);
            if (localeFile == locale.end())
                continue;
            const auto englishTexts = SoftwareFormats::mozillaStrings(bytes, englishPath);
            for (const auto& [key, translation] :
                 SoftwareFormats::mozillaStrings(localeFile->second, localePath)) {
                if (isDropped(key))
                    continue;
                const auto text = englishTexts.find(key);
                if (text != englishTexts.end())
                    pairs.push_back({text->second, translation, source, localePath + ":" + key});
            }
        }
    }
    return pairs;
}

SoftwareReference::Pairs SoftwareReference::fetchFirefox(const std::string& code,
                                                         const Downloader& downloader,
                                                         const ReferenceHosts& hosts,
                                                         const std::stop_token& stop) {
    const std::string release = hosts.mozilla + "releases/mozilla-release";
    std::vector<std::string> bases;
    for (const std::string_view module : {"browser", "toolkit", "dom"})
        bases.push_back(release + "/archive/FIREFOX_60_0_RELEASE.zip/" + std::string(module) +
                        "/locales/en-US/");
    return fetchMozilla(Source::firefox, code, bases,
                        release + "/raw-file/FIREFOX_60_0_RELEASE/browser/locales/l10n-changesets.json",
                        hosts.mozilla + "l10n-central/", downloader, stop);
}

SoftwareReference::Pairs SoftwareReference::fetchThunderbird(const std::string& code,
                                                             const Downloader& downloader,
                                                             const ReferenceHosts& hosts,
                                                             const std::stop_token& stop) {
    const std::string release = hosts.mozilla + "releases/comm-esr60";
    return fetchMozilla(Source::thunderbird, code,
                        {release + "/archive/THUNDERBIRD_60_0_RELEASE.zip/mail/locales/en-US/"},
                        release + "/raw-file/THUNDERBIRD_60_0_RELEASE/mail/locales/l10n-changesets.json",
                        hosts.mozilla + "l10n-central/", downloader, stop);
}

} // namespace orvel
