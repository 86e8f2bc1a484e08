#pragma once
// Which children of a table or list can show, found from the rows its viewport crosses instead of by
// asking about every child: a table of thousands of rows shows a few, and asking about all of them would
// cost the app seconds and the read its time. Callers hold atspiLock().

#include <optional>
#include <vector>

#include <atspi/atspi.h>

#include "Orvel/platform/AtspiCalls.h"
#include "Orvel/platform/AtspiExchange.h"

namespace orvel::AtspiTableRows {

// Below this many cells every child is simply looked at.
inline constexpr int fewCells = 256;

// The child indices of `table` (which has the Table interface) that may show within `visible`, in
// order: the children before its first cell (headers) and those of the rows that cross `visible`, with
// each row's own children that come before its cells. Nothing when the table is small or cannot tell;
// then all of its children are to be looked at.
std::optional<std::vector<int>> showingIndices(AtspiExchange& exchange, AtspiAccessible* table,
                                               const AtspiRect& visible);

// The children of `parent` at `indices`, asked for together; those that cannot be read are left out.
std::vector<AtspiCalls::GObjectPtr<AtspiAccessible>>
childrenAt(AtspiExchange& exchange, AtspiAccessible* parent, const std::vector<int>& indices);

} // namespace orvel::AtspiTableRows
