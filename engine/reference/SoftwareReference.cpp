#include "engine/reference/SoftwareReference.h"

#include <limits>

#include "core/RawValues.h"

namespace orvel {

std::int64_t SoftwareReference::Entry::total() const {
    std::int64_t sum = 0;
    for (const auto& [source, count] : counts) {
        // Counts come from a cache file anyone may edit; an absurd one must not wrap around.
        if (__builtin_add_overflow(sum, count, &sum))
            return count > 0 ? std::numeric_limits<std::int64_t>::max()
                             : std::numeric_limits<std::int64_t>::min();
    }
    return sum;
}

SoftwareReference::Entry SoftwareReference::Entry::fromJson(const json::Json& value) {
    return Entry{json::required<std::string>(value, "text"),
                 json::required<std::map<std::string, std::int64_t>>(value, "counts")};
}

json::Json SoftwareReference::Entry::toJson() const {
    json::Json out = json::Json::object();
    json::set(out, "text", text);
    json::set(out, "counts", counts);
    return out;
}

std::string_view rawValue(SoftwareReference::Source source) {
    switch (source) {
    case SoftwareReference::Source::android:
        return "android";
    case SoftwareReference::Source::chromium:
        return "chromium";
    case SoftwareReference::Source::firefox:
        return "firefox";
    case SoftwareReference::Source::thunderbird:
        return "thunderbird";
    case SoftwareReference::Source::libreoffice:
        return "libreoffice";
    case SoftwareReference::Source::vlc:
        return "vlc";
    }
    return {};
}

std::string_view displayName(SoftwareReference::Source source) {
    switch (source) {
    case SoftwareReference::Source::android:
        return "Android";
    case SoftwareReference::Source::chromium:
        return "Chromium";
    case SoftwareReference::Source::firefox:
        return "Firefox";
    case SoftwareReference::Source::thunderbird:
        return "Thunderbird";
    case SoftwareReference::Source::libreoffice:
        return "LibreOffice";
    case SoftwareReference::Source::vlc:
        return "VLC";
    }
    return {};
}

std::optional<SoftwareReference::Source> sourceFromRawValue(std::string_view raw) {
    return fromRawValue(raw, SoftwareReference::allSources);
}

namespace json {

SoftwareReference::Source Coder<SoftwareReference::Source>::decode(const Json& value) {
    return decodeRawValue(value, SoftwareReference::allSources, "Source");
}

} // namespace json
} // namespace orvel
