#pragma once
// One look for screenshots and widget tests, whatever the desktop: the Fusion style with its own
// palette, DejaVu Sans at 13 pixels, and no animations.

class QApplication;

namespace orvel {

void useFixedLook(QApplication& application);

} // namespace orvel
