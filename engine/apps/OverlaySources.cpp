#include "engine/apps/OverlaySources.h"

#include <algorithm>

#include "core/Unicode.h"

namespace orvel {

OverlaySources::OverlaySources(const std::vector<SourceString>& strings) : m_strings(&strings) {
    m_byId.reserve(strings.size());
    for (const SourceString& string : strings) {
        std::string id = string.id();
        m_byId.emplace_back(text::isAscii(id) ? std::move(id) : text::nfc(id), &string);
    }
    std::stable_sort(m_byId.begin(), m_byId.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    m_byId.erase(std::unique(m_byId.begin(), m_byId.end(),
                             [](const auto& a, const auto& b) { return a.first == b.first; }),
                 m_byId.end());
}

OverlaySources::Search::Search(const OverlaySources& sources)
    : m_entries(sources.m_byId), m_next(sources.m_byId.begin()) {}

const SourceString* OverlaySources::Search::find(const std::string& id) {
    const auto before = [](const auto& entry, const std::string& key) { return entry.first < key; };
    if (!text::isAscii(id)) {
        const std::string canonical = text::nfc(id);
        const auto found = std::lower_bound(m_entries.begin(), m_entries.end(), canonical, before);
        return found != m_entries.end() && found->first == canonical ? found->second : nullptr;
    }
    // Every entry before the walk's place sorts before the last id it found; an id not after them all
    // is searched for instead.
    if (m_next != m_entries.begin() && !(std::prev(m_next)->first < id)) {
        const auto found = std::lower_bound(m_entries.begin(), m_next, id, before);
        return found != m_next && found->first == id ? found->second : nullptr;
    }
    while (m_next != m_entries.end() && m_next->first < id)
        ++m_next;
    return m_next != m_entries.end() && m_next->first == id ? m_next->second : nullptr;
}

} // namespace orvel
