#include "Orvel/views/SidebarItem.h"

#include <string_view>

std::size_t std::hash<orvel::SidebarItem>::operator()(const orvel::SidebarItem& item) const noexcept {
    std::string fed = item.app;
    if (item.filter) {
        fed += '\1';
        fed += orvel::rawValue(*item.filter);
    } else {
        fed += '\0';
    }
    return std::hash<std::string_view>{}(fed);
}
