// The search for the rows a table's viewport crosses, on rows placed as apps report them.

#include <climits>
#include <optional>

#include <gtest/gtest.h>

#include "Orvel/platform/AtspiTableRows.h"

namespace orvel {
namespace {

TEST(AtspiTableRowsTests, TheRowsAViewportCrossesAreFoundWhereverTheAppPlacesThem) {
    struct Case {
        std::string name;
        int rows;
        AtspiTableRows::RowExtents extentsOf;
        AtspiRect visible;
        std::optional<std::pair<int, int>> crossing;
    };
    auto evenRows = [](int height) {
        return [height](int row) -> std::optional<AtspiRect> {
            return AtspiRect{.x = 0, .y = row * height, .width = 100, .height = height};
        };
    };
    // A table of a billion rows whose far rows the app reports at the end of the 32-bit range.
    auto clampedRows = [](int row) -> std::optional<AtspiRect> {
        const long long y = std::min<long long>(30LL * row, INT_MAX - 20);
        return AtspiRect{.x = 0, .y = static_cast<int>(y), .width = 100, .height = 30};
    };
    const std::vector<Case> cases{
        {"rows in the middle of the viewport", 600, evenRows(24), {0, 100, 100, 100}, std::pair{4, 9}},
        {"a viewport below every row", 10, evenRows(24), {0, 1000, 100, 100}, std::pair{10, 10}},
        {"rows at the end of the 32-bit range",
         1'000'000'000,
         clampedRows,
         {0, 0, 100, 300},
         std::pair{0, 10}},
        {"a viewport at the end of the 32-bit range",
         1'000'000'000,
         clampedRows,
         {0, INT_MAX - 100, 100, 100},
         std::pair{71'582'784, 1'000'000'000}},
        {"a row that cannot be placed",
         600,
         [](int row) -> std::optional<AtspiRect> {
             if (row == 300)
                 return std::nullopt;
             return AtspiRect{.x = 0, .y = row * 24, .width = 100, .height = 24};
         },
         {0, 100, 100, 100},
         std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(AtspiTableRows::rowsCrossing(c.rows, c.extentsOf, c.visible), c.crossing);
    }
}

} // namespace
} // namespace orvel
