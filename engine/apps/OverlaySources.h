#pragma once
// The app's strings by canonical id, for the overlay: made once for a list of strings and searched for
// every translation of every write. Canonically equivalent ids name one string: a key typed with a
// combining accent in a catalog is the same key as its precomposed form read back from a strings file.

#include <string>
#include <utility>
#include <vector>

#include "core/SourceString.h"

namespace orvel {

class OverlaySources {
  public:
    // Reads `strings` in place: they outlive this. Of strings with canonically equal ids the first counts.
    explicit OverlaySources(const std::vector<SourceString>& strings);

    const std::vector<SourceString>& strings() const { return *m_strings; }

    // One write's search. Ids asked for in increasing order (a project's translations) are found by
    // walking on from the last one, the others by a binary search.
    class Search {
      public:
        explicit Search(const OverlaySources& sources);
        const SourceString* find(const std::string& id);

      private:
        using Entries = std::vector<std::pair<std::string, const SourceString*>>;
        const Entries& m_entries;
        Entries::const_iterator m_next;
    };

  private:
    const std::vector<SourceString>* m_strings;
    // Canonical id to its string, in id order, each id once.
    std::vector<std::pair<std::string, const SourceString*>> m_byId;
};

} // namespace orvel
