// Loading a language's software reference: the cache file when it is usable, else a build from the
// six programs at once, written to the cache unless it found nothing.

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <tuple>

#include "core/Cancellation.h"
#include "core/FileIO.h"
#include "core/Languages.h"
#include "core/StringsFiles.h"
#include "core/SystemLog.h"
#include "core/TaskGroup.h"
#include "core/TextPieces.h"
#include "engine/reference/BuildSettings.h"
#include "engine/reference/SoftwareReferenceCache.h"
#include "engine/reference/SourceCodes.h"
#include "engine/reference/SourceError.h"
#include "engine/reference/StyleMeasurement.h"

namespace orvel {
namespace {

std::optional<SoftwareReference::Cache> readCache(const std::filesystem::path& file) {
    const auto bytes = FileIO::readIfPresent(file);
    if (!bytes)
        return std::nullopt;
    try {
        auto cache = SoftwareReference::Cache::decoded(*bytes);
        if (cache.version != SoftwareReference::Cache::currentVersion)
            return std::nullopt;
        return cache;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

const std::optional<std::string>& codeOf(SoftwareReference::Source source, const SourceCodes& codes) {
    switch (source) {
    case SoftwareReference::Source::android:
        return codes.android;
    case SoftwareReference::Source::chromium:
        return codes.chromium;
    case SoftwareReference::Source::firefox:
    case SoftwareReference::Source::thunderbird:
        return codes.mozilla;
    case SoftwareReference::Source::libreoffice:
        return codes.libreoffice;
    case SoftwareReference::Source::vlc:
        return codes.vlc;
    }
    return codes.vlc;
}

SoftwareReference::Pairs fetchPairs(SoftwareReference::Source source, const std::string& code,
                                    const Downloader& downloader, const ReferenceHosts& hosts,
                                    const std::stop_token& stop) {
    switch (source) {
    case SoftwareReference::Source::android:
        return SoftwareReference::fetchAndroid(code, downloader, hosts, stop);
    case SoftwareReference::Source::chromium:
        return SoftwareReference::chromiumPairs(code, downloader, hosts, stop);
    case SoftwareReference::Source::firefox:
        return SoftwareReference::fetchFirefox(code, downloader, hosts, stop);
    case SoftwareReference::Source::thunderbird:
        return SoftwareReference::fetchThunderbird(code, downloader, hosts, stop);
    case SoftwareReference::Source::libreoffice:
        return SoftwareReference::libreOfficePairs(code, downloader, hosts, stop);
    case SoftwareReference::Source::vlc:
        return SoftwareReference::fetchVLC(code, downloader, hosts, stop);
    }
    return {};
}

// Each pair once, and only pairs with both texts holding more than white space.
SoftwareReference::Pairs usablePairs(SoftwareReference::Pairs pairs) {
    std::sort(pairs.begin(), pairs.end());
    pairs.erase(std::unique(pairs.begin(), pairs.end()), pairs.end());
    std::erase_if(pairs, [](const SoftwareReference::Pair& pair) {
        return text::trimmed(pair.english).empty() || text::trimmed(pair.translation).empty();
    });
    return pairs;
}

std::string pairsLine(SoftwareReference::Source source, std::size_t count, double seconds) {
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, ": %zu pairs in %.0f s", count, seconds);
    return "  " + std::string(displayName(source)) + numbers;
}

} // namespace

bool SoftwareReference::Pair::operator<(const Pair& other) const {
    return std::tie(english, translation, source, key) <
           std::tie(other.english, other.translation, other.source, other.key);
}

void SoftwareReference::report(const std::string& message, const Progress& progress) {
    SystemLog::info("SoftwareReference", message);
    if (progress)
        progress(message);
}

std::optional<SoftwareReference> SoftwareReference::load(std::string_view language,
                                                         const Progress& progress) {
    return load(language, progress, BuildSettings{});
}

std::optional<SoftwareReference> SoftwareReference::load(std::string_view language, const Progress& progress,
                                                         const BuildSettings& settings,
                                                         const std::stop_token& stop) {
    const auto codes = SourceCodes::lookup(language);
    if (!codes)
        return std::nullopt;
    const std::optional<Cache> cached = readCache(cacheURL(codes->identifier));
    if (cached && cached->isUsable(Dates::now()))
        return cached->reference(std::string(language));

    report("Building the software reference for " + Languages::englishName(language) +
               " from Android, Chromium, Firefox, Thunderbird, LibreOffice and VLC",
           progress);
    Cache built = build(*codes, progress, settings, stop);
    // A build that was stopped, or that found nothing (offline, every host down), must not replace
    // what an earlier build found: the old cache serves until a build finds something.
    if (stop.stop_requested() || built.table.empty()) {
        if (cached)
            return cached->reference(std::string(language));
        return std::nullopt;
    }
    if (cached)
        built.keepWhatFailedProgramsGave(*cached);
    save(built, progress);
    return built.reference(std::string(language));
}

SoftwareReference::Cache SoftwareReference::build(const SourceCodes& codes, const Progress& progress,
                                                  const BuildSettings& settings,
                                                  const std::stop_token& stop) {
    const Downloader downloader(cacheURL(codes.identifier).parent_path() / "english", settings.pause,
                                settings.limits);
    std::mutex lock;
    std::vector<Outcome> outcomes;
    try {
        TaskGroup::run(
            allSources.size(), static_cast<int>(allSources.size()),
            [&](std::size_t index, std::stop_token token) {
                Outcome outcome =
                    fetch(allSources[index], codes, downloader, settings.hosts, progress, token);
                std::lock_guard guard(lock);
                outcomes.push_back(std::move(outcome));
            },
            stop);
    } catch (const CancellationError&) {
        // The sources that ended are collected; the caller sees the stop and keeps nothing.
    }
    return collect(outcomes, codes);
}

SoftwareReference::Outcome SoftwareReference::fetch(Source source, const SourceCodes& codes,
                                                    const Downloader& downloader, const ReferenceHosts& hosts,
                                                    const Progress& progress, const std::stop_token& stop) {
    const std::string name(displayName(source));
    const auto& code = codeOf(source, codes);
    if (!code) {
        report("  " + name + ": no " + Languages::englishName(codes.identifier) + " translation", progress);
        return {source, {}, false};
    }
    const auto start = std::chrono::steady_clock::now();
    try {
        Pairs pairs = usablePairs(fetchPairs(source, *code, downloader, hosts, stop));
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
        report(pairsLine(source, pairs.size(), seconds.count()), progress);
        return {source, std::move(pairs), false};
    } catch (const SourceError& error) {
        if (error.kind() == SourceError::Kind::missing) {
            report("  " + name + ": skipped, it has no " + error.text(), progress);
            return {source, {}, false};
        }
        report("  " + name + ": skipped, " + error.what(), progress);
    } catch (const std::exception& error) {
        report("  " + name + ": skipped, " + error.what(), progress);
    }
    return {source, {}, true};
}

SoftwareReference::Cache SoftwareReference::collect(const std::vector<Outcome>& outcomes,
                                                    const SourceCodes& codes) {
    Cache cache;
    cache.language = codes.identifier;
    cache.built = std::chrono::floor<std::chrono::seconds>(Dates::now());
    Pairs all;
    for (const Outcome& outcome : outcomes) {
        if (outcome.failed)
            cache.failed.emplace_back(rawValue(outcome.source));
        if (outcome.pairs.empty())
            continue;
        const std::string raw(rawValue(outcome.source));
        cache.pairs[raw] = static_cast<std::int64_t>(outcome.pairs.size());
        cache.style[raw] = measureStyle(outcome.pairs);
        all.insert(all.end(), outcome.pairs.begin(), outcome.pairs.end());
    }
    std::sort(cache.failed.begin(), cache.failed.end());
    cache.table = tableFrom(all, codes.identifier);
    return cache;
}

void SoftwareReference::save(const Cache& cache, const Progress& progress) {
    try {
        // The write creates the missing folders and replaces the file whole or not at all.
        StringsFiles::writeAtomically(cache.encoded(), cacheURL(cache.language));
    } catch (const std::exception& error) {
        report(std::string("Could not cache the software reference: ") + error.what(), progress);
    }
}

} // namespace orvel
