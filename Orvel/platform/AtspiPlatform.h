#pragma once
// The accessibility reader's desktop service over AT-SPI: applications publish their element trees on
// the accessibility bus while it is enabled, so "trusted" means that bus is enabled, and asking for
// trust enables it where the desktop allows. Every call into another process waits at most
// callTimeout for its answer.

#include <QDBusConnection>

#include <memory>

#include "Orvel/platform/AccessibilityStatus.h"
#include "engine/capture/AXPlatform.h"

namespace orvel {

class AtspiPlatform : public AXPlatform {
  public:
    static constexpr double callTimeout = 2.0;

    // `sessionBus` is where the desktop's accessibility status lives; it is followed on the creating
    // thread's event loop.
    explicit AtspiPlatform(QDBusConnection sessionBus = QDBusConnection::sessionBus());

    // Never waits longer than a frame of the window (AccessibilityStatus).
    bool isTrusted() const override;
    // Returns at once; isTrusted() follows once the desktop has switched it on.
    void requestTrust() const override;
    const AccessibilityStatus& status() const { return *m_status; }
    // The application element of the process as the accessibility bus lists it; null when the bus cannot
    // be reached or the process publishes no tree.
    AXElementRef application(pid_t pid) const override;

  private:
    std::unique_ptr<AccessibilityStatus> m_status;
};

} // namespace orvel
