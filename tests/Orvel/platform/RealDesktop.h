#pragma once
// The one desktop of the test process, made on first use: libatspi connects to one accessibility bus per
// process, so every test that reads real windows reads them on this desktop.

#include "tests/Orvel/platform/desktop/AccessibleDesktop.h"

namespace orvel::testing {

AccessibleDesktop& realDesktop();
// Ends the desktop and its windows, while the application object still stands.
void endRealDesktop();

} // namespace orvel::testing
