#include "tests/Orvel/platform/RealDesktop.h"

#include <memory>

namespace orvel::testing {
namespace {

std::unique_ptr<AccessibleDesktop>& desktop() {
    static std::unique_ptr<AccessibleDesktop> instance;
    return instance;
}

} // namespace

AccessibleDesktop& realDesktop() {
    if (!desktop())
        desktop() = std::make_unique<AccessibleDesktop>();
    return *desktop();
}

void endRealDesktop() {
    desktop().reset();
}

} // namespace orvel::testing
