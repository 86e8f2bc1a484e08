#include "tests/Orvel/platform/desktop/AccessibleDesktop.h"

#include <QFileInfo>
#include <QStandardPaths>

#include <chrono>
#include <fstream>

namespace orvel::testing {
namespace {

constexpr const char* sessionVariable = "DBUS_SESSION_BUS_ADDRESS";
constexpr int startTimeoutMs = 15000;

QString firstExecutable(const QStringList& paths) {
    for (const QString& path : paths)
        if (QFileInfo(path).isExecutable())
            return path;
    return {};
}

void stop(QProcess& process) {
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000))
        process.kill();
    process.waitForFinished(5000);
}

// QtDBus and QProcess want an application object; a benchmark has none of its own.
std::unique_ptr<QCoreApplication> applicationIfNone() {
    if (QCoreApplication::instance())
        return nullptr;
    static int argc = 1;
    static char name[] = "accessible-desktop";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace

AccessibleDesktop::AccessibleDesktop() : m_application(applicationIfNone()) {
    const QString launcher =
        firstExecutable({"/usr/libexec/at-spi-bus-launcher", "/usr/lib/at-spi2-core/at-spi-bus-launcher"});
    if (launcher.isEmpty() || !m_services.isValid()) {
        m_unavailable = "at-spi-bus-launcher is missing";
        return;
    }
    std::ofstream(m_services.filePath("org.a11y.Bus.service").toStdString())
        << "[D-BUS Service]\nName=org.a11y.Bus\nExec=" << launcher.toStdString() << "\n";
    m_session = std::make_unique<PrivateSessionBus>(QStringList{m_services.path()});
    if (m_session->address().isEmpty()) {
        m_unavailable = "dbus-daemon is missing or did not start";
        return;
    }
    if (!startDisplay())
        return;
    // libatspi finds the accessibility bus through the session bus of this process.
    m_addressWasSet = qEnvironmentVariableIsSet(sessionVariable);
    m_previousAddress = qgetenv(sessionVariable);
    qputenv(sessionVariable, m_session->address().toUtf8());
    m_platform = std::make_unique<AtspiPlatform>(m_session->connect("atspi-client"));
    m_platform->requestTrust();
    // The switch is taken without waiting; its status follows on this thread's events.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(startTimeoutMs);
    while (!m_platform->isTrusted() && std::chrono::steady_clock::now() < deadline)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    if (!m_platform->isTrusted())
        m_unavailable = "the bus launcher did not enable the accessibility bus";
}

AccessibleDesktop::~AccessibleDesktop() {
    for (const auto& window : m_windows)
        stop(*window);
    m_platform.reset();
    stop(m_display);
    m_session.reset();
    if (m_addressWasSet)
        qputenv(sessionVariable, m_previousAddress);
    else
        qunsetenv(sessionVariable);
}

bool AccessibleDesktop::startDisplay() {
    const QString xvfb = QStandardPaths::findExecutable("Xvfb");
    if (xvfb.isEmpty()) {
        m_unavailable = "Xvfb is missing";
        return false;
    }
    m_display.start(xvfb, {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1024x768x24"});
    if (!m_display.waitForReadyRead(startTimeoutMs)) {
        m_unavailable = "Xvfb did not start";
        return false;
    }
    m_displayName = ":" + QString::fromUtf8(m_display.readLine()).trimmed();
    return true;
}

std::optional<pid_t> AccessibleDesktop::show(const QStringList& arguments) {
    return start(QStringLiteral(ORVEL_ACCESSIBLE_WINDOW_PROGRAM), arguments);
}

std::optional<pid_t> AccessibleDesktop::showGtk4() {
#ifdef ORVEL_GTK4_WINDOW_PROGRAM
    return start(QStringLiteral(ORVEL_GTK4_WINDOW_PROGRAM), {});
#else
    return std::nullopt;
#endif
}

std::optional<pid_t> AccessibleDesktop::start(const QString& program, const QStringList& arguments) {
    if (!m_unavailable.empty())
        return std::nullopt;
    auto window = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", m_displayName);
    environment.insert("QT_QPA_PLATFORM", "xcb");
    environment.insert(sessionVariable, m_session->address());
    environment.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    environment.insert("GDK_BACKEND", "x11");
    // GTK's own settings and services stay in memory.
    environment.insert("GSETTINGS_BACKEND", "memory");
    window->setProcessEnvironment(environment);
    // GTK 4 warns on every position asked in screen coordinates, which it cannot know.
    if (program.contains(QStringLiteral("gtk4")))
        window->setStandardErrorFile(QProcess::nullDevice());
    else
        window->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    window->start(program, arguments);
    // The program prints its one line once every window is shown.
    while (window->waitForReadyRead(startTimeoutMs))
        if (window->canReadLine() && window->readLine().trimmed() == "ready") {
            const auto pid = static_cast<pid_t>(window->processId());
            m_windows.push_back(std::move(window));
            return pid;
        }
    m_unavailable = "the window program could not show its windows on Xvfb";
    stop(*window);
    return std::nullopt;
}

} // namespace orvel::testing
