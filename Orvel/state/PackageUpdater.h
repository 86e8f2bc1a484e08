#pragma once
// On Linux Orvel is updated with the system's packages, never by itself: a check tells the person so,
// with the version that runs.

#include <QString>

#include "Orvel/state/Alerts.h"
#include "Orvel/state/Updater.h"

namespace orvel {

class PackageUpdater : public Updater {
  public:
    // `alerts` must outlive the updater.
    PackageUpdater(Alerts& alerts, QString runningVersion);

    void checkForUpdates() override;

  private:
    Alerts& m_alerts;
    QString m_runningVersion;
};

} // namespace orvel
