#include "Orvel/platform/AtspiTableRows.h"

#include <algorithm>
#include <array>
#include <functional>

#include "Orvel/platform/AtspiFacts.h"
#include "Orvel/platform/AtspiMessages.h"

namespace orvel::AtspiTableRows {
namespace {

using AtspiCalls::GObjectPtr;

constexpr const char* tableInterface = "org.a11y.atspi.Table";
// As many children as the reader takes from any one element.
constexpr std::size_t maxChildren = 5000;

DBusMessagePtr askOne(AtspiExchange& exchange, AtspiExchange::Question question) {
    std::vector<AtspiExchange::Question> questions;
    questions.push_back(std::move(question));
    return std::move(exchange.ask(std::move(questions)).front());
}

std::optional<int> number(DBusMessage* reply, bool isProperty) {
    DBusMessageIter iter;
    if (!AtspiMessages::firstArgument(reply, isProperty, iter))
        return std::nullopt;
    return AtspiMessages::basic<dbus_int32_t>(iter, DBUS_TYPE_INT32);
}

GObjectPtr<AtspiAccessible> element(DBusMessage* reply, AtspiAccessible* owner) {
    DBusMessageIter iter;
    if (!AtspiMessages::firstArgument(reply, false, iter))
        return nullptr;
    return GObjectPtr<AtspiAccessible>(AtspiMessages::reference(iter, owner->parent.app));
}

class Table {
  public:
    Table(AtspiExchange& exchange, AtspiAccessible* table) : m_exchange(exchange), m_table(table) {}

    std::optional<int> count(const char* name) {
        return number(askOne(m_exchange, AtspiMessages::property(m_table, tableInterface, name)).get(), true);
    }

    std::optional<int> index(int row, int column) {
        return number(
            askOne(m_exchange, AtspiMessages::method(m_table, tableInterface, "GetIndexAt", {row, column}))
                .get(),
            false);
    }

    // Where the row's first cell lies on screen.
    std::optional<AtspiRect> rowExtents(int row) {
        const GObjectPtr<AtspiAccessible> cell = element(
            askOne(m_exchange, AtspiMessages::method(m_table, tableInterface, "GetAccessibleAt", {row, 0}))
                .get(),
            m_table);
        if (!cell)
            return std::nullopt;
        constexpr std::array<AtspiFacts::Question, 1> extents{AtspiFacts::Question::extents};
        std::vector<AtspiFacts::Facts> facts;
        AtspiFacts::read({cell.get()}, extents, {.children = 0, .textCharacters = 0}, m_exchange, facts);
        return facts.front().extents;
    }

  private:
    AtspiExchange& m_exchange;
    AtspiAccessible* m_table;
};

// The first row in [0, rows) for which `after` holds, rows being in screen order; `after` is false up to
// some row and true from there on. Nothing when a row cannot be placed.
std::optional<int> firstRow(int rows, const RowExtents& extentsOf,
                            const std::function<bool(const AtspiRect&)>& after) {
    int low = 0;
    int high = rows;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        const std::optional<AtspiRect> extents = extentsOf(middle);
        if (!extents)
            return std::nullopt;
        if (after(*extents))
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

} // namespace

std::optional<std::pair<int, int>> rowsCrossing(int rows, const RowExtents& extentsOf,
                                                const AtspiRect& visible) {
    // Sums of 32-bit coordinates do not fit in 32 bits.
    using Wide = long long;
    const Wide top = visible.y;
    const Wide bottom = top + visible.height;
    // Rows above the viewport end above its top; rows below begin below its bottom.
    const std::optional<int> first =
        firstRow(rows, extentsOf, [&](const AtspiRect& row) { return Wide{row.y} + row.height > top; });
    if (!first)
        return std::nullopt;
    const std::optional<int> end =
        firstRow(rows, extentsOf, [&](const AtspiRect& row) { return Wide{row.y} >= bottom; });
    if (!end)
        return std::nullopt;
    return std::pair{*first, std::max(*first, *end)};
}

ShowingChildren showingIndices(AtspiExchange& exchange, AtspiAccessible* table, const AtspiRect& visible) {
    Table view(exchange, table);
    const std::optional<int> rows = view.count("NRows");
    const std::optional<int> columns = view.count("NColumns");
    if (!rows || !columns || *rows <= 0 || *columns <= 0 ||
        static_cast<long long>(*rows) * *columns < fewCells)
        return {};
    // A large table is never asked for all of its children: what cannot be placed is left out, and said so.
    ShowingChildren unplaced{.indices = std::vector<int>{}, .unplaced = true};
    const std::optional<int> firstCell = view.index(0, 0);
    if (!firstCell || *firstCell < 0)
        return unplaced;
    int secondRow = *firstCell + *columns;
    if (*rows > 1) {
        const std::optional<int> listed = view.index(1, 0);
        if (!listed)
            return unplaced;
        secondRow = *listed;
    }
    // The children of a row besides its cells (a row header) come before them.
    const int extras = static_cast<int>(std::clamp<long long>(
        static_cast<long long>(secondRow) - *firstCell - *columns, 0, static_cast<long long>(maxChildren)));
    std::vector<int> out;
    // An app that answers absurd indices still gets no more questions than a view's children may number.
    for (int i = 0; i < *firstCell - extras && out.size() < maxChildren; ++i)
        out.push_back(i);
    unplaced.indices = out;
    const std::optional<std::pair<int, int>> crossing = rowsCrossing(
        *rows, [&](int row) { return view.rowExtents(row); }, visible);
    if (!crossing)
        return unplaced;
    if (crossing->first < crossing->second) {
        const std::optional<int> from = view.index(crossing->first, 0);
        const std::optional<int> to = view.index(crossing->second - 1, *columns - 1);
        if (!from || !to)
            return unplaced;
        for (long long i = std::max(0LL, static_cast<long long>(*from) - extras);
             i <= *to && out.size() < maxChildren; ++i)
            out.push_back(static_cast<int>(i));
    }
    return {.indices = std::move(out)};
}

std::vector<GObjectPtr<AtspiAccessible>> childrenAt(AtspiExchange& exchange, AtspiAccessible* parent,
                                                    const std::vector<int>& indices) {
    std::vector<AtspiExchange::Question> questions;
    for (int index : indices)
        questions.push_back(
            AtspiMessages::method(parent, AtspiMessages::accessibleInterface, "GetChildAtIndex", {index}));
    std::vector<GObjectPtr<AtspiAccessible>> out;
    exchange.ask(std::move(questions), [&](std::size_t, DBusMessage* reply) {
        if (auto child = element(reply, parent))
            out.push_back(std::move(child));
    });
    return out;
}

} // namespace orvel::AtspiTableRows
