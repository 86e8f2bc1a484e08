#include "engine/reference/AppleReference.h"

#include <algorithm>

namespace orvel {

AppleReference::Entry AppleReference::Entry::fromJson(const json::Json& value) {
    return Entry{json::required<std::string>(value, "text"), json::required<std::int64_t>(value, "count")};
}

json::Json AppleReference::Entry::toJson() const {
    json::Json out = json::Json::object();
    json::set(out, "text", text);
    json::set(out, "count", count);
    return out;
}

AppleReference::AppleReference(std::string language, Table table)
    : m_language(std::move(language)), m_table(std::move(table)) {
    for (auto& [english, entries] : m_table) {
        std::stable_sort(entries.begin(), entries.end(),
                         [](const Entry& a, const Entry& b) { return a.count > b.count; });
        if (entries.size() > maxEntries)
            entries.resize(maxEntries);
    }
}

std::span<const AppleReference::Entry> AppleReference::wordings(std::string_view folded) const {
    const auto found = m_table.find(folded);
    if (found == m_table.end())
        return {};
    return found->second;
}

} // namespace orvel
