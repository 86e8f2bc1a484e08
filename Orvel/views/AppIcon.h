#pragma once
// The picture of a target app in lists: the icon file of its bundle when Qt can read it, else the
// painted generic app symbol. The bundle is not ours: its icon file is read only when it is a regular
// file of modest size, and decoded with a cap on the memory the picture may take.

#include <QIcon>

namespace orvel {

struct TranslatableApp;

// Sharp at `pixels` and twice that.
QIcon appIcon(const TranslatableApp& app, int pixels);

} // namespace orvel
