// Chromium's English messages (two GRD files and the part files they include) paired with one
// language's translations (an XTB file per GRD) by message id.

#include <array>

#include "core/ConcurrentMap.h"
#include "engine/model/HttpTransfer.h"
#include "engine/reference/Accelerators.h"
#include "engine/reference/Base64.h"
#include "engine/reference/Downloader.h"
#include "engine/reference/KeptCopies.h"
#include "engine/reference/ReferenceHosts.h"
#include "engine/reference/SoftwareReference.h"
#include "engine/reference/SourceError.h"
#include "engine/reference/XmlTree.h"

namespace orvel {
namespace {

constexpr std::string_view repository = "chromium/src";
constexpr std::string_view tag = "70.0.3538.67";
constexpr std::array<std::string_view, 2> grdPaths{"chrome/app/generated_resources.grd",
                                                   "components/components_strings.grd"};
// Part files fetched at once for one GRD.
constexpr int partLimit = 4;

using Messages = std::map<std::string, SoftwareFormats::GritMessage, std::less<>>;

std::string fileAddress(const std::string& base, std::string_view repo, const std::string& path) {
    return base + std::string(repo) + "/+/refs/tags/" + std::string(tag) + "/" + path + "?format=TEXT";
}

std::string hostOf(const std::string& base) {
    return HttpTransfer::parts(base).host;
}

std::string decodedBody(const std::string& body, const std::string& path, const std::string& base) {
    auto bytes = Base64::decoded(body);
    if (!bytes)
        throw SoftwareReference::SourceError::failed("unreadable " + path + " from " + hostOf(base));
    return std::move(*bytes);
}

std::string folderOf(std::string_view path) {
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash));
}

// `relative` resolved against `folder`: ".." drops the last component collected (nothing when none is
// left), "." and empty components are skipped.
std::string resolvedPath(std::string_view folder, std::string_view relative) {
    std::vector<std::string_view> components;
    const auto split = [](std::string_view path, auto&& each) {
        while (!path.empty()) {
            const auto slash = path.find('/');
            each(path.substr(0, slash));
            path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
        }
    };
    split(folder, [&](std::string_view component) {
        if (!component.empty())
            components.push_back(component);
    });
    split(relative, [&](std::string_view component) {
        if (component == "..") {
            if (!components.empty())
                components.pop_back();
        } else if (!component.empty() && component != ".") {
            components.push_back(component);
        }
    });
    std::string joined;
    for (const auto component : components) {
        if (!joined.empty())
            joined += '/';
        joined += component;
    }
    return joined;
}

} // namespace

SoftwareReference::Pairs SoftwareReference::chromiumPairs(const std::string& code,
                                                          const Downloader& downloader,
                                                          const ReferenceHosts& hosts,
                                                          const std::stop_token& stop) {
    Pairs pairs;
    for (const std::string_view grd : grdPaths) {
        Pairs file = chromiumPairs(std::string(grd), code, downloader, hosts, stop);
        pairs.insert(pairs.end(), std::make_move_iterator(file.begin()), std::make_move_iterator(file.end()));
    }
    return pairs;
}

SoftwareReference::Pairs SoftwareReference::chromiumPairs(const std::string& grd, const std::string& code,
                                                          const Downloader& downloader,
                                                          const ReferenceHosts& hosts,
                                                          const std::stop_token& stop) {
    const std::string& base = hosts.chromium;
    const auto root = downloader.decodedKept(
        fileAddress(base, repository, grd),
        [&](std::string body) { return SoftwareFormats::tree(decodedBody(body, grd, base)); }, stop);
    const SoftwareFormats::Trees top = root->elements();

    const std::string* translationPath = nullptr;
    for (const auto& file : SoftwareFormats::elements("file", top)) {
        const std::string* lang = file->attribute("lang");
        const std::string* path = file->attribute("path");
        if (lang && *lang == code && path && path->ends_with(".xtb")) {
            translationPath = path;
            break;
        }
    }
    if (!translationPath)
        throw SourceError::missing(code + " translation of " + grd);

    const std::string folder = folderOf(grd);
    std::vector<std::string> parts;
    for (const auto& part : SoftwareFormats::elements("part", top))
        if (const std::string* file = part->attribute("file"))
            parts.push_back(resolvedPath(folder, *file));

    Messages messages = SoftwareFormats::gritMessages(*root);
    const auto partMessages = concurrentMap(
        parts, partLimit,
        [&](const std::string& path, std::stop_token token) {
            return gritPartMessages(path, base, std::string(repository), downloader, token);
        },
        stop);
    for (const Messages& part : partMessages)
        messages.insert(part.begin(), part.end());

    const std::string xtbPath = resolvedPath(folder, *translationPath);
    const std::string xtb =
        decodedBody(downloader.data(fileAddress(base, repository, xtbPath), false, stop), xtbPath, base);
    const std::string grdName(KeptCopies::lastComponent(grd));
    Pairs pairs;
    for (const auto& [id, translation] : SoftwareFormats::xtbTranslations(xtb)) {
        const auto message = messages.find(id);
        if (message == messages.end())
            continue;
        pairs.push_back({SoftwareFormats::strippingAmpersands(message->second.text),
                         SoftwareFormats::strippingAmpersands(translation), Source::chromium,
                         grdName + ":" + message->second.name});
    }
    return pairs;
}

std::map<std::string, SoftwareFormats::GritMessage, std::less<>>
SoftwareReference::gritPartMessages(const std::string& path, const std::string& base, const std::string& repo,
                                    const Downloader& downloader, const std::stop_token& stop) {
    return downloader.decodedKept(
        fileAddress(base, repo, path),
        [&](std::string body) {
            return SoftwareFormats::gritMessages(*SoftwareFormats::tree(decodedBody(body, path, base)));
        },
        stop);
}

} // namespace orvel
