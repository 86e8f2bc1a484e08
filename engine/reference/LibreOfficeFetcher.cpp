// LibreOffice's translations of one language: the PO files of the language's folder at the release tag,
// listed through the repository host's tree listing and downloaded a few at a time.

#include "core/ConcurrentMap.h"
#include "core/Json.h"
#include "engine/reference/Accelerators.h"
#include "engine/reference/Downloader.h"
#include "engine/reference/PoEntries.h"
#include "engine/reference/ReferenceHosts.h"
#include "engine/reference/SoftwareReference.h"
#include "engine/reference/SourceError.h"

namespace orvel {
namespace {

constexpr std::string_view tag = "libreoffice-6.0.0.3";
// Files downloaded at once.
constexpr int fileLimit = 6;

// A PO file of the interface: not the help texts, not the dictionaries, and no path that could step
// out of the language's folder on the file host.
bool isInterfaceCatalogue(std::string_view path) {
    if (!path.ends_with(".po") || path.starts_with("helpcontent2/") || path.starts_with("dictionaries/"))
        return false;
    std::string_view rest = path;
    while (true) {
        const auto slash = rest.find('/');
        const auto component = rest.substr(0, slash);
        if (component.empty() || component == "." || component == "..")
            return false;
        if (slash == std::string_view::npos)
            return true;
        rest.remove_prefix(slash + 1);
    }
}

std::vector<std::string> cataloguePaths(const json::Json& listing) {
    std::vector<std::string> paths;
    if (!listing.is_object())
        return paths;
    const auto tree = listing.find("tree");
    if (tree == listing.end() || !tree->is_array())
        return paths;
    for (const auto& entry : *tree) {
        if (!entry.is_object())
            continue;
        const auto type = entry.find("type");
        const auto path = entry.find("path");
        if (type == entry.end() || path == entry.end() || !type->is_string() || !path->is_string())
            continue;
        if (type->get<std::string>() == "blob" && isInterfaceCatalogue(path->get<std::string>()))
            paths.push_back(path->get<std::string>());
    }
    return paths;
}

} // namespace

SoftwareReference::Pairs SoftwareReference::libreOfficePairs(const std::string& code,
                                                             const Downloader& downloader,
                                                             const ReferenceHosts& hosts,
                                                             const std::stop_token& stop) {
    const std::string listingAddress = hosts.libreOfficeListing +
                                       "repos/LibreOffice/translations/git/trees/" + std::string(tag) +
                                       ":source/" + code + "?recursive=1";
    const auto paths = cataloguePaths(json::parse(downloader.data(listingAddress, false, stop)));
    if (paths.empty())
        throw SourceError::missing(code + " translation");
    const std::string base =
        hosts.libreOfficeFiles + "LibreOffice/translations/" + std::string(tag) + "/source/" + code;
    const auto perFile = concurrentMap(
        paths, fileLimit,
        [&](const std::string& path, std::stop_token token) {
            return libreOfficeFilePairs(path, base, downloader, token);
        },
        stop);
    Pairs pairs;
    for (const Pairs& file : perFile)
        pairs.insert(pairs.end(), file.begin(), file.end());
    return pairs;
}

SoftwareReference::Pairs SoftwareReference::libreOfficeFilePairs(const std::string& path,
                                                                 const std::string& base,
                                                                 const Downloader& downloader,
                                                                 const std::stop_token& stop) {
    Pairs pairs;
    for (const auto& entry : SoftwareFormats::poEntries(downloader.text(base + "/" + path, stop))) {
        Pairs entryPairs = poPairs(entry, path, Source::libreoffice, SoftwareFormats::strippingAccelerators);
        pairs.insert(pairs.end(), std::make_move_iterator(entryPairs.begin()),
                     std::make_move_iterator(entryPairs.end()));
    }
    return pairs;
}

SoftwareReference::Pairs
SoftwareReference::poPairs(const SoftwareFormats::POEntry& entry, const std::string& file, Source source,
                           const std::function<std::string(std::string_view)>& clean) {
    // The reader never delivers an entry without a translation; one that came from elsewhere gives none.
    if (entry.strings.empty())
        return {};
    const std::string key = entry.context.empty() ? file : file + ":" + entry.context;
    if (!entry.plural)
        return {{clean(entry.id), clean(entry.strings.front()), source, key}};
    const std::size_t last = entry.strings.size() - 1;
    return {{clean(entry.id), clean(entry.strings.front()), source, key + "#0"},
            {clean(*entry.plural), clean(entry.strings.back()), source, key + "#" + std::to_string(last)}};
}

} // namespace orvel
