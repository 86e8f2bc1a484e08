#include "Orvel/state/WorkspaceFilter.h"

#include "core/RawValues.h"

namespace orvel {

std::string_view rawValue(WorkspaceFilter filter) {
    switch (filter) {
    case WorkspaceFilter::all:
        return "all";
    case WorkspaceFilter::untranslated:
        return "untranslated";
    case WorkspaceFilter::changed:
        return "changed";
    case WorkspaceFilter::problems:
        return "problems";
    case WorkspaceFilter::edited:
        return "edited";
    }
    return {};
}

std::optional<WorkspaceFilter> workspaceFilter(std::string_view raw) {
    return fromRawValue(raw, allFilters);
}

} // namespace orvel
