#pragma once
// The accessibility service of the desktop: whether this process may read other apps, and the entry
// element of a running process.

#include <sys/types.h>

#include "engine/capture/AXElement.h"

namespace orvel {

class AXPlatform {
  public:
    virtual ~AXPlatform() = default;

    virtual bool isTrusted() const = 0;
    // Asks the desktop to show its prompt for accessibility access; returns at once.
    virtual void requestTrust() const = 0;
    // A fresh application element of the process on every call; null when there is none.
    virtual AXElementRef application(pid_t pid) const = 0;
};

} // namespace orvel
