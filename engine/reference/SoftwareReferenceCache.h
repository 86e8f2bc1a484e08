#pragma once
// The cache file of a language's software reference: everything a build found, so that a later load
// costs one file read.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/Date.h"
#include "core/Json.h"
#include "engine/reference/SoftwareReference.h"
#include "engine/reference/StyleStats.h"

namespace orvel {

struct SoftwareReference::Cache {
    static constexpr std::int64_t currentVersion = 2;
    // A cache with failed programs is built again after this long, so they are tried once a day.
    static constexpr std::chrono::seconds retryFailedAfter{86400};

    std::int64_t version = currentVersion;
    // The identifier of the language's source codes row.
    std::string language;
    // When the build finished; whole seconds, as the file keeps it.
    Date built{};
    // Program raw value to its pairs, for programs that gave any.
    std::map<std::string, std::int64_t> pairs;
    // Raw values of the programs that failed, sorted.
    std::vector<std::string> failed;
    Table table;
    // Program raw value to its style, for programs that gave pairs.
    std::map<std::string, StyleStats> style;

    // Every key is required; "built" is an internet date-time in UTC without fractions of a second.
    static Cache fromJson(const json::Json& value);
    json::Json toJson() const;

    // The file's bytes: one line, keys sorted, "/" not escaped.
    std::string encoded() const;
    // Throws json::DecodingError for anything but a whole record.
    static Cache decoded(std::string_view bytes);

    // Whether a load uses it at `now` rather than building: the current version, and no failed program
    // unless it is younger than a day.
    bool isUsable(Date now) const;

    // A program that failed in this build but gave pairs to `earlier` keeps what it gave there: its
    // uses in the table, its pair count and its style. It stays among the failed ones, so it is tried
    // again after a day; a failed fetch never costs the cache a program that was good in it.
    void keepWhatFailedProgramsGave(const Cache& earlier);

    // The reference it holds, under the tag the caller asked for, with a new, empty phrase index.
    SoftwareReference reference(std::string language) const;

    bool operator==(const Cache&) const = default;
};

} // namespace orvel
