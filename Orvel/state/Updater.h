#pragma once
// What the application's "Check for Updates…" command asks of whatever keeps Orvel up to date. An
// implementation that checks on a schedule starts doing so when it is made, at launch.

namespace orvel {

class Updater {
  public:
    virtual ~Updater() = default;
    // The person asked for a check; the implementation shows what it found itself.
    virtual void checkForUpdates() = 0;
};

} // namespace orvel
