#include "Orvel/state/PackageUpdater.h"

#include <QCoreApplication>

namespace orvel {

PackageUpdater::PackageUpdater(Alerts& alerts, QString runningVersion)
    : m_alerts(alerts), m_runningVersion(std::move(runningVersion)) {}

void PackageUpdater::checkForUpdates() {
    m_alerts.show({QCoreApplication::translate("PackageUpdater", "Updates come with the system's packages"),
                   //: %1 is the version number of Orvel
                   QCoreApplication::translate("PackageUpdater",
                                               "This is Orvel %1. Newer versions arrive through the software "
                                               "updates of your system.")
                       .arg(m_runningVersion)});
}

} // namespace orvel
