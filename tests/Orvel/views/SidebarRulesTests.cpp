#include "Orvel/views/SidebarItem.h"
#include "Orvel/views/SidebarRules.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvel {
namespace {

const QString narrowSpace(QChar(0x202F));

TEST(SidebarBadges, AppRowsShowPendingCountsOnlyWhileCollapsed) {
    struct Case {
        const char* name;
        std::map<std::string, int> pending;
        bool expanded;
        std::optional<QString> badge;
    };
    const std::vector<Case> cases{
        {"collapsed with pending strings", {{"com.a", 3}}, false, "3"},
        {"expanded", {{"com.a", 3}}, true, std::nullopt},
        {"a count of 0", {{"com.a", 0}}, false, std::nullopt},
        {"a negative count", {{"com.a", -2}}, false, std::nullopt},
        {"missing from the counts", {{"com.b", 7}}, false, std::nullopt},
        {"five digits are grouped", {{"com.a", 12345}}, false, "12" + narrowSpace + "345"},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(appBadge(row.pending, "com.a", row.expanded), row.badge);
    }
}

TEST(SidebarBadges, FilterRowsShowKnownCountsAndAllShowsZero) {
    using enum WorkspaceFilter;
    struct Case {
        WorkspaceFilter filter;
        std::optional<int> count;
        std::optional<QString> badge;
    };
    const std::vector<Case> cases{
        {all, 0, "0"},
        {all, 42, "42"},
        {all, std::nullopt, std::nullopt},
        {untranslated, 0, std::nullopt},
        {untranslated, 5, "5"},
        {changed, 0, std::nullopt},
        {changed, 1, "1"},
        {problems, std::nullopt, std::nullopt},
        {problems, 0, std::nullopt},
        {problems, 2, "2"},
        {edited, 0, std::nullopt},
        {edited, 99999, "99" + narrowSpace + "999"},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(std::string(rawValue(row.filter)) + " " +
                     (row.count ? std::to_string(*row.count) : "none"));
        EXPECT_EQ(filterBadge(row.filter, row.count), row.badge);
    }
}

TEST(SidebarItem, EqualItemsHashAlikeAndDifferentOnesDiffer) {
    using enum WorkspaceFilter;
    struct Case {
        const char* name;
        SidebarItem left;
        SidebarItem right;
        bool equal;
    };
    const std::vector<Case> cases{
        {"same app, no filter", {"com.a", std::nullopt}, {"com.a", std::nullopt}, true},
        {"same app and filter", {"com.a", problems}, {"com.a", problems}, true},
        {"app row and its All row", {"com.a", std::nullopt}, {"com.a", all}, false},
        {"two filters", {"com.a", all}, {"com.a", edited}, false},
        {"two apps", {"com.a", all}, {"com.b", all}, false},
    };
    const std::hash<SidebarItem> hash;
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.left == row.right, row.equal);
        EXPECT_EQ(hash(row.left) == hash(row.right), row.equal);
    }
}

} // namespace
} // namespace orvel
