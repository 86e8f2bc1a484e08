#pragma once
// What an app update changed in the English of its strings, compared with a translation project,
// so that every existing translation can follow its string. Pure computations on values.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/SourceString.h"
#include "engine/apps/StringTranslation.h"
#include "engine/apps/TranslationProject.h"

namespace orvel {

struct StringChanges {
    // A string whose English differs from the English its old translation was made from.
    struct Change {
        // The app's current string.
        SourceString string;
        // The English the old translation was made from.
        std::string oldText;
        // Where the old translation stood, in the translations or the retired entries.
        std::string oldID;
        // The old translation itself, unchanged.
        StringTranslation translation;

        std::string id() const { return string.id(); }
        bool operator==(const Change&) const = default;
    };

    // A translation that follows its string unchanged; `from` equal to `to` brings it back from retirement.
    struct Move {
        std::string from;
        std::string to;
        bool operator==(const Move&) const = default;
    };

    // New strings that need a first translation, in the order of the current strings.
    std::vector<SourceString> added;
    std::vector<Change> changed;
    std::vector<Move> moved;
    // Old string id to the translation of a string the app no longer has.
    std::map<std::string, StringTranslation> removed;
    // Strings to translate whose translation was made from exactly their current English.
    int unchanged = 0;

    // Compares the project's translations, retired entries and recorded English with the app's
    // current strings. Never fails.
    static StringChanges compute(const TranslationProject& project, const std::vector<SourceString>& strings);

    // One current string whose translation a run replaced: the translation before (none when it had none)
    // and the one it has now.
    struct Retranslation {
        SourceString string;
        std::optional<StringTranslation> before;
        StringTranslation after;
    };

    // Follows new translations of current strings row by row, giving what compute() would give for the
    // project that now holds them, without comparing the whole project again. Refuses, changing nothing,
    // where a row's change could reach other rows (a row that took an old translation along, or whose new
    // translation is empty or made from other English): the caller then compares the whole project.
    bool takeTranslations(const std::vector<Retranslation>& rows);

    // What the model must translate: the added strings, then the strings of the changes.
    std::vector<SourceString> toTranslate() const;
    // Nothing added, changed, moved or removed; the unchanged count does not matter.
    bool isEmpty() const;
};

// Lets every translation follow its string: all moves, then all changes, then all removals.
// Lists that do not fit the project carry nothing and never fail.
void apply(TranslationProject& project, const std::vector<StringChanges::Change>& changed,
           const std::vector<StringChanges::Move>& moved,
           const std::map<std::string, StringTranslation>& removed);

} // namespace orvel
