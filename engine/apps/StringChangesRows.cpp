// Following a run's new translations in the changes row by row: a translate run lands a batch every few
// seconds, and comparing a large project whole each time would cost more than the run itself.

#include <algorithm>
#include <set>
#include <string_view>
#include <utility>

#include "core/Unicode.h"
#include "engine/apps/StringChanges.h"

namespace orvel {
namespace {

using RowKey = std::pair<std::string_view, std::string_view>;

RowKey keyOf(const SourceString& string) {
    return {string.table, string.key};
}

bool madeFrom(const StringTranslation& translation, const SourceString& string) {
    return !translation.isEmpty() && text::canonicallyEqual(translation.source, string.text);
}

} // namespace

bool StringChanges::takeTranslations(const std::vector<Retranslation>& rows) {
    std::set<RowKey> taken;
    for (const Retranslation& row : rows) {
        // A string that is not translated takes no part in the comparison.
        if (!row.string.translate)
            continue;
        if (!madeFrom(row.after, row.string))
            return false;
        taken.insert(keyOf(row.string));
    }
    if (taken.empty())
        return true;
    // A row that took an old translation along (moved or reworded from another id) leaves it to another
    // string, or to the removed ones, once it has a translation of its own.
    const auto isTaken = [&](const SourceString& string) { return taken.contains(keyOf(string)); };
    for (const Change& change : changed)
        if (isTaken(change.string) && change.oldID != change.id())
            return false;
    for (const Move& move : moved)
        if (move.from != move.to && std::any_of(rows.begin(), rows.end(), [&](const Retranslation& row) {
                return row.string.translate && row.string.id() == move.to;
            }))
            return false;

    // What stood for each row before: a first translation wanted, its own old translation reworded or
    // brought back from retirement. Now each is translated from its current English.
    std::erase_if(added, isTaken);
    std::erase_if(changed, [&](const Change& change) { return isTaken(change.string); });
    std::erase_if(moved, [&](const Move& move) {
        return move.from == move.to && std::any_of(rows.begin(), rows.end(), [&](const Retranslation& row) {
                   return row.string.translate && row.string.id() == move.to;
               });
    });
    for (const Retranslation& row : rows) {
        if (!row.string.translate)
            continue;
        if (!(row.before && madeFrom(*row.before, row.string)))
            ++unchanged;
    }
    return true;
}

} // namespace orvel
