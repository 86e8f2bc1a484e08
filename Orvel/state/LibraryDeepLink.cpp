// Deep links handed to the library by the application.

#include <algorithm>

#include "Orvel/state/DeepLink.h"
#include "Orvel/state/Library.h"

namespace orvel {

void Library::handle(std::string_view url) {
    std::optional<DeepLink> link = parseDeepLink(url);
    if (!link)
        return;
    const std::string app = link->app;
    setLink(Link{std::move(link->app), std::move(link->language)});
    applyLink();
    const bool known = std::any_of(m_apps.begin(), m_apps.end(),
                                   [&](const TranslatableApp& each) { return each.bundleIdentifier == app; });
    if (!known)
        rescanForLink();
}

} // namespace orvel
