#include "Orvel/views/Animations.h"

namespace orvel::Animations {

namespace {
bool g_enabled = true;
}

bool enabled() {
    return g_enabled;
}
void setEnabled(bool enabled) {
    g_enabled = enabled;
}

} // namespace orvel::Animations
