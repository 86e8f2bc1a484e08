#pragma once
// Whether the desktop's accessibility bus is enabled: only then do applications publish their element
// trees, so it stands for this process being allowed to read other apps. The switch is the session
// bus property IsEnabled of org.a11y.Status on org.a11y.Bus.

#include <QDBusConnection>

namespace orvel::AccessibilityStatus {

// Answers within this time or counts as off.
inline constexpr int callTimeoutMs = 2000;

bool isEnabled(const QDBusConnection& sessionBus);
// Asks the desktop to enable it; false when the desktop refuses or does not answer.
bool enable(const QDBusConnection& sessionBus);

} // namespace orvel::AccessibilityStatus
