#pragma once
// The link to the running copies of one app; the live operations on it belong to the context capture.

#include "engine/apps/TranslatableApp.h"

namespace orvel {

struct AppLink {
    TranslatableApp app;
};

} // namespace orvel
