#include "engine/reference/SoftwareReferenceCache.h"

#include "core/CachesFolder.h"
#include "engine/reference/PhraseIndex.h"

namespace orvel {
namespace {

// "2026-03-01T09:30:00Z": the shared date form without its milliseconds.
std::string secondsText(Date date) {
    std::string text = Dates::iso8601(std::chrono::floor<std::chrono::seconds>(date));
    const auto fraction = text.rfind('.');
    if (fraction != std::string::npos)
        text.erase(fraction, text.size() - fraction - 1);
    return text;
}

// Only the form the file is written in: "2026-03-01T09:30:00Z".
Date secondsDate(const std::string& text) {
    const auto date = text.size() == 20 && text.back() == 'Z' ? Dates::parseIso8601(text) : std::nullopt;
    if (!date)
        throw json::DecodingError("Expected date string to be ISO8601-formatted.");
    return *date;
}

} // namespace

SoftwareReference::Cache SoftwareReference::Cache::fromJson(const json::Json& value) {
    json::expectObject(value);
    Cache cache;
    cache.version = json::required<std::int64_t>(value, "version");
    cache.language = json::required<std::string>(value, "language");
    try {
        cache.built = secondsDate(json::required<std::string>(value, "built"));
    } catch (const json::DecodingError& error) {
        json::rethrowWithPath(error, "built");
    }
    cache.pairs = json::required<std::map<std::string, std::int64_t>>(value, "pairs");
    cache.failed = json::required<std::vector<std::string>>(value, "failed");
    for (auto&& [english, entries] :
         json::required<std::map<std::string, std::vector<Entry>>>(value, "table"))
        cache.table.emplace(english, std::move(entries));
    cache.style = json::required<std::map<std::string, StyleStats>>(value, "style");
    return cache;
}

json::Json SoftwareReference::Cache::toJson() const {
    json::Json object = json::Json::object();
    json::set(object, "version", version);
    json::set(object, "language", language);
    json::set(object, "built", secondsText(built));
    json::set(object, "pairs", pairs);
    json::set(object, "failed", failed);
    json::Json entries = json::Json::object();
    for (const auto& [english, list] : table)
        entries[english] = json::encode(list);
    object["table"] = std::move(entries);
    json::set(object, "style", style);
    return object;
}

std::string SoftwareReference::Cache::encoded() const {
    // The JSON object keeps its keys sorted and writes "/" as it is.
    return json::dump(toJson());
}

SoftwareReference::Cache SoftwareReference::Cache::decoded(std::string_view bytes) {
    return fromJson(json::parse(bytes));
}

bool SoftwareReference::Cache::isUsable(Date now) const {
    return version == currentVersion && (failed.empty() || now - built < retryFailedAfter);
}

SoftwareReference SoftwareReference::Cache::reference(std::string language) const {
    SoftwareReference reference;
    reference.language = std::move(language);
    reference.table = table;
    reference.pairs = pairs;
    reference.failed = failed;
    reference.style = style;
    reference.phraseIndex = std::make_shared<PhraseIndex>();
    return reference;
}

std::filesystem::path SoftwareReference::cacheURL(std::string_view language) {
    return CachesFolder::path() / "Orvel" / "software-reference" /
           ("v" + std::to_string(Cache::currentVersion) + "-" + std::string(language) + ".json");
}

} // namespace orvel
