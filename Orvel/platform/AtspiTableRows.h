#pragma once
// Which children of a table or list can show, found from the rows its viewport crosses instead of by
// asking about every child: a table of thousands of rows shows a few, and asking about all of them would
// cost the app seconds and the read its time. Callers hold atspiLock().

#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include <atspi/atspi.h>

#include "Orvel/platform/AtspiCalls.h"
#include "Orvel/platform/AtspiExchange.h"

namespace orvel::AtspiTableRows {

// Below this many cells every child is simply looked at.
inline constexpr int fewCells = 256;

// Where a row lies on screen; nothing when it cannot be placed.
using RowExtents = std::function<std::optional<AtspiRect>(int row)>;

// The rows [first, end) of a table of `rows` rows, in screen order, that cross `visible`; nothing when a
// row the search needs cannot be placed. Apps may report rows anywhere in the 32-bit range.
std::optional<std::pair<int, int>> rowsCrossing(int rows, const RowExtents& extentsOf,
                                                const AtspiRect& visible);

struct ShowingChildren {
    // In order: the children before its first cell (headers) and those of the rows that cross the
    // visible area, with each row's own children that come before its cells. Nothing when the table is
    // small or tells no rows; then all of its children are to be looked at.
    std::optional<std::vector<int>> indices;
    // The table is large, but where its rows lie could not be found: `indices` hold only what comes
    // before its cells, and the read of the table is not whole.
    bool unplaced = false;
};

// The children of `table` (which has the Table interface) that may show within `visible`.
ShowingChildren showingIndices(AtspiExchange& exchange, AtspiAccessible* table, const AtspiRect& visible);

// The children of `parent` at `indices`, asked for together; those that cannot be read are left out.
std::vector<AtspiCalls::GObjectPtr<AtspiAccessible>>
childrenAt(AtspiExchange& exchange, AtspiAccessible* parent, const std::vector<int>& indices);

} // namespace orvel::AtspiTableRows
