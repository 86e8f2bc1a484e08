#pragma once
// How macOS itself words interface texts in one language: the wordings of each folded English text.

#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/Json.h"

namespace orvel {

class AppleReference {
  public:
    // One wording macOS uses, with the weighted number of places that use it.
    struct Entry {
        std::string text;
        std::int64_t count = 0;

        // Both keys are required.
        static Entry fromJson(const json::Json& value);
        json::Json toJson() const;
        bool operator==(const Entry&) const = default;
    };

    // Folded English text to its wordings.
    using Table = std::map<std::string, std::vector<Entry>, std::less<>>;

    // The most wordings kept for one English text.
    static constexpr std::size_t maxEntries = 4;

    AppleReference() = default;
    // Each list is put in order, most used first (ties keep their order), and cut to `maxEntries`, so
    // that a table read from anywhere holds what the hints expect.
    AppleReference(std::string language, Table table);

    // The language code as the caller asked for it ("pt-BR"), not the form the system files use.
    const std::string& language() const { return m_language; }
    const Table& table() const { return m_table; }

    // The wordings of a folded English text, most used first; none for a text macOS does not use.
    std::span<const Entry> wordings(std::string_view folded) const;

    bool operator==(const AppleReference&) const = default;

  private:
    std::string m_language;
    Table m_table;
};

} // namespace orvel
