#pragma once
// The word index over the English phrases of a software reference: for one word, the short phrases of
// the reference table that contain it. Built at the first query and kept for the life of the object,
// which every copy of the reference shares; the table of a loaded reference never changes.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/Locked.h"
#include "engine/reference/SoftwareReference.h"

namespace orvel {

class PhraseIndex {
  public:
    // A phrase of the table with its words, split once when the index is built.
    struct IndexedPhrase {
        std::string english;
        std::vector<std::string> words;
    };

    struct Index {
        // The indexed phrases in table order.
        std::vector<IndexedPhrase> phrases;
        // Word to the positions in `phrases` of the phrases holding it, in table order.
        std::unordered_map<std::string, std::vector<std::size_t>> positions;

        // The phrases holding `word`, in table order.
        std::vector<const IndexedPhrase*> containing(const std::string& word) const;
    };

    // The lower-case words of the text in order, duplicates kept: placeholders, entities, variables and
    // tags are left out, and so are runs made only of numbers.
    static std::vector<std::string> words(std::string_view text);

    // Every key of two to five words, filed under each of its distinct words.
    static Index build(const SoftwareReference::Table& table);

    // The index of `table`, built at the first call. Concurrent callers wait for the one that builds it;
    // the result is never changed afterwards and may be read without the lock.
    std::shared_ptr<const Index> index(const SoftwareReference::Table& table);

  private:
    // Building takes the regular-expression cache's lock while this one is held, never the reverse.
    Locked<std::shared_ptr<const Index>> m_index;
};

} // namespace orvel
