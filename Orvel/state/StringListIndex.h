#pragma once
// What the string list of a workspace looks up per row, kept beside the strings so that a keystroke
// in the search field or a change of filter touches each row only through cheap look-ups: the ids,
// the rows by id, each row's translation in the current project, the ids an update changed, and the
// folded texts the search compares. Caches fill on first use and are dropped when their input changes.
// Main thread only, except that a loading workspace builds its first index, and looks up the rows'
// translations, off the main thread.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/SourceString.h"
#include "engine/apps/StringChanges.h"
#include "engine/apps/StringTranslation.h"
#include "engine/apps/TranslationProject.h"

namespace orvel {

class StringListIndex {
  public:
    // The translations of the rows in one project, looked up before it is assigned.
    struct RowTranslations {
        std::vector<const StringTranslation*> rows;
        // The project's first translation: a project that is a copy of the one looked up in, rather than
        // that very project moved, has it elsewhere.
        const StringTranslation* first = nullptr;
        std::size_t count = 0;
    };

    StringListIndex() = default;
    // The row map refers into the id list, which keeps its storage when it is moved.
    StringListIndex(const StringListIndex&) = delete;
    StringListIndex& operator=(const StringListIndex&) = delete;
    StringListIndex(StringListIndex&&) = default;
    StringListIndex& operator=(StringListIndex&&) = default;

    // New strings: every cache starts again.
    void reset(const std::vector<SourceString>& strings);
    // The project was assigned: the translations of the rows are looked up again.
    void projectChanged() {
        m_translationsReady = false;
        ++m_projectGeneration;
    }
    // The translations of the rows in `project`.
    RowTranslations lookUp(const TranslationProject& project) const;
    // projectChanged() for an assigned project whose rows were looked up already: kept when `looked` was
    // looked up in this very project (moved since, not copied) for these rows, else looked up again.
    void projectChanged(RowTranslations looked, const TranslationProject& assigned);
    // One row's translation changed in place in the project (null: removed); the other rows keep theirs.
    // Only for a row whose id no other row shares.
    void translationChanged(std::size_t row, const StringTranslation* translation) {
        if (m_translationsReady)
            m_translations[row] = translation;
        if (row < m_foldedTranslations.size())
            m_foldedTranslations[row].reset();
    }
    // Some id names more than one row.
    bool hasDuplicateIds() const { return m_rows.size() != m_ids.size(); }
    // The changes were assigned: the changed ids are collected again.
    void changesChanged() { m_changedReady = false; }

    // The id of the row at `row`.
    const std::string& id(std::size_t row) const { return m_ids[row]; }
    // The row of the first string with this id.
    std::optional<std::size_t> row(std::string_view id) const;

    // The project's translation of the row, or null (also without a project). Valid until the next
    // projectChanged() or reset().
    const StringTranslation* translation(std::size_t row, const std::optional<TranslationProject>& project);

    // Whether the row's id is among the strings the changes say to translate again.
    bool isChanged(std::size_t row, const StringChanges& changes);

    // Folds every row's English and key, and the display text of every row's translation in `rows`, ahead
    // of the first search, so that its keystroke finds them made. For a loading workspace, off the main
    // thread; `rows` are the translations assigned with the project that projectChanged() is given next.
    void foldAll(const std::vector<SourceString>& strings, const RowTranslations& rows);

    // Whether `needle` (StringSearch::needle) occurs in the row's English, its key, or the display text of
    // `translation`, tried in that order.
    bool matches(std::size_t row, const SourceString& string, const StringTranslation* translation,
                 const std::string& needle);

  private:
    struct TransparentHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    struct FoldedSource {
        std::string text;
        std::string key;
    };
    struct FoldedTranslation {
        std::string displayText;
        std::string folded;
        // The project the text was last compared in; within it the translation cannot have changed.
        std::uint64_t projectGeneration = 0;
    };

    // The generation of translations folded by foldAll() until their rows are assigned.
    static constexpr std::uint64_t foldedForRows = UINT64_MAX;

    const std::string& foldedTranslation(std::size_t row, const StringTranslation& translation);
    void makeFoldedLists();

    std::vector<std::string> m_ids;
    // Keyed by views of m_ids, which is filled once per reset() without growing: the ids of a large
    // app are held once, not twice.
    std::unordered_map<std::string_view, std::size_t> m_rows;

    bool m_translationsReady = false;
    std::uint64_t m_projectGeneration = 0;
    std::vector<const StringTranslation*> m_translations;

    bool m_changedReady = false;
    std::unordered_set<std::string, TransparentHash, std::equal_to<>> m_changed;

    // Per row, folded as the workspace loads, or when the search first reaches it; the English and key of
    // a row never change.
    std::vector<std::optional<FoldedSource>> m_foldedSources;
    // Per row, the translation text last folded: compared again after each new project, and folded
    // again only when it differs.
    std::vector<std::optional<FoldedTranslation>> m_foldedTranslations;
};

} // namespace orvel
