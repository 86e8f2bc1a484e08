#pragma once
// A desktop of the caller's own for reading real windows: a private session bus on which the desktop's
// bus launcher starts the accessibility bus, a virtual X display, and the window program's windows shown
// there in child processes. Without those tools it says why and does nothing, so that callers can skip.
// libatspi connects once per process, so a process holds at most one of these.

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

#include "Orvel/platform/AtspiPlatform.h"
#include "tests/Orvel/platform/PrivateSessionBus.h"

namespace orvel::testing {

class AccessibleDesktop {
  public:
    AccessibleDesktop();
    ~AccessibleDesktop();
    AccessibleDesktop(const AccessibleDesktop&) = delete;
    AccessibleDesktop& operator=(const AccessibleDesktop&) = delete;

    // Empty while the desktop runs; otherwise what is missing.
    const std::string& unavailable() const { return m_unavailable; }
    // The backend under test, trusted on this desktop's accessibility bus.
    const AtspiPlatform& platform() const { return *m_platform; }

    // Starts the window program with `arguments` and waits until it has shown its windows; the process
    // id, or nothing (with the reason in unavailable()). The process ends with the desktop.
    std::optional<pid_t> show(const QStringList& arguments);
    // Starts the GTK 4 window program (Gtk4WindowMain.cpp) the same way; nothing, without a reason, where
    // it was not built.
    std::optional<pid_t> showGtk4();

  private:
    bool startDisplay();
    std::optional<pid_t> start(const QString& program, const QStringList& arguments);

    std::unique_ptr<QCoreApplication> m_application;
    std::string m_unavailable;
    QTemporaryDir m_services;
    std::unique_ptr<PrivateSessionBus> m_session;
    QByteArray m_previousAddress;
    bool m_addressWasSet = false;
    QProcess m_display;
    QString m_displayName;
    std::unique_ptr<AtspiPlatform> m_platform;
    std::vector<std::unique_ptr<QProcess>> m_windows;
};

} // namespace orvel::testing
