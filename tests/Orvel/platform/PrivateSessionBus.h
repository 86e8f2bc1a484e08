#pragma once
// A session bus of the test's own: a dbus-daemon started for the test and stopped with it, so that no
// test touches the desktop's real session.

#include <QDBusConnection>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>

#include <fstream>

namespace orvel::testing {

class PrivateSessionBus {
  public:
    // `serviceFolders`: where the daemon may find services to start on demand; none by default.
    explicit PrivateSessionBus(const QStringList& serviceFolders = {}) {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty() || !m_folder.isValid())
            return;
        const QString config = m_folder.filePath(QStringLiteral("bus.conf"));
        std::ofstream(config.toStdString()) << configuration(serviceFolders).toStdString();
        // Services the bus starts on demand keep their settings in memory and their sockets in the test's
        // folder, so that none of them touches the person's real desktop.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("GSETTINGS_BACKEND"), QStringLiteral("memory"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_folder.path());
        m_daemon.setProcessEnvironment(environment);
        m_daemon.start(daemon, {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                                QStringLiteral("--print-address")});
        if (m_daemon.waitForStarted(5000) && m_daemon.waitForReadyRead(5000))
            m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    }

    ~PrivateSessionBus() {
        for (const QString& name : m_connections)
            QDBusConnection::disconnectFromBus(name);
        if (m_daemon.state() != QProcess::NotRunning) {
            m_daemon.terminate();
            if (!m_daemon.waitForFinished(5000))
                m_daemon.kill();
        }
    }

    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    // Empty when dbus-daemon is missing or did not start.
    const QString& address() const { return m_address; }

    // A new connection to this bus, closed when the bus is stopped.
    QDBusConnection connect(const QString& name) {
        m_connections << name;
        return QDBusConnection::connectToBus(m_address, name);
    }

  private:
    QString configuration(const QStringList& serviceFolders) const {
        QString xml =
            QStringLiteral(
                "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\" "
                "\"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n<busconfig>\n"
                "<type>session</type>\n<listen>unix:dir=%1</listen>\n<auth>EXTERNAL</auth>\n")
                .arg(m_folder.path());
        for (const QString& folder : serviceFolders)
            xml += QStringLiteral("<servicedir>%1</servicedir>\n").arg(folder);
        return xml +
               QStringLiteral("<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                              "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy>\n</busconfig>\n");
    }

    QTemporaryDir m_folder;
    QProcess m_daemon;
    QString m_address;
    QStringList m_connections;
};

} // namespace orvel::testing
