#pragma once
// The filters of a workspace's string list, stored and exchanged under their raw value texts.

#include <array>
#include <optional>
#include <string_view>

namespace orvel {

enum class WorkspaceFilter { all, untranslated, changed, problems, edited };

// Every filter, in the order the list shows them.
inline constexpr std::array<WorkspaceFilter, 5> allFilters{
    WorkspaceFilter::all, WorkspaceFilter::untranslated, WorkspaceFilter::changed, WorkspaceFilter::problems,
    WorkspaceFilter::edited};

// The case's name: "all", "untranslated", "changed", "problems", "edited".
std::string_view rawValue(WorkspaceFilter filter);
// Nothing for any text but one of the five names, matched exactly.
std::optional<WorkspaceFilter> workspaceFilter(std::string_view raw);

} // namespace orvel
