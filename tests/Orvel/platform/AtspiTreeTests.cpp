#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <functional>

#include <gtest/gtest.h>

#include "Orvel/platform/AtspiPlatform.h"
#include "engine/capture/AXReader.h"
#include "engine/capture/ContextAnalyzer.h"
#include "tests/Orvel/platform/AccessibleWindow.h"
#include "tests/Orvel/platform/PrivateSessionBus.h"

namespace orvel {
namespace {

QString firstExisting(const QStringList& paths) {
    for (const QString& path : paths)
        if (QFileInfo(path).isExecutable())
            return path;
    return {};
}

const AXNode* find(const AXNode& node, const std::function<bool(const AXNode&)>& matches) {
    if (matches(node))
        return &node;
    for (const AXNode& child : node.children)
        if (const AXNode* found = find(child, matches))
            return found;
    return nullptr;
}

// A process of the test's own, ended by its id when the test ends.
struct ChildProcess {
    QProcess process;
    ~ChildProcess() {
        if (process.state() != QProcess::NotRunning) {
            process.terminate();
            if (!process.waitForFinished(5000))
                process.kill();
        }
    }
};

// Points this process at another session bus while it lives.
class SessionAddress {
  public:
    explicit SessionAddress(const QString& address)
        : m_wasSet(qEnvironmentVariableIsSet(name)), m_previous(qgetenv(name)) {
        qputenv(name, address.toUtf8());
    }
    ~SessionAddress() {
        if (m_wasSet)
            qputenv(name, m_previous);
        else
            qunsetenv(name);
    }

  private:
    static constexpr const char* name = "DBUS_SESSION_BUS_ADDRESS";
    bool m_wasSet;
    QByteArray m_previous;
};

// A real accessibility bus needs a display and the desktop's bus launcher; without them this test says
// so and skips, since nothing here can stand in for a toolkit publishing its tree.
TEST(AtspiTreeTests, ReadsTheTreeOfAWindowShownByAnotherProcess) {
    const QString launcher =
        firstExisting({"/usr/libexec/at-spi-bus-launcher", "/usr/lib/at-spi2-core/at-spi-bus-launcher"});
    const QString xvfb = QStandardPaths::findExecutable("Xvfb");
    if (launcher.isEmpty() || xvfb.isEmpty())
        GTEST_SKIP()
            << "at-spi-bus-launcher or Xvfb is missing: the read of a real window's tree is not tested";

    QTemporaryDir services;
    ASSERT_TRUE(services.isValid());
    std::ofstream(services.filePath("org.a11y.Bus.service").toStdString())
        << "[D-BUS Service]\nName=org.a11y.Bus\nExec=" << launcher.toStdString() << "\n";
    testing::PrivateSessionBus session({services.path()});
    if (session.address().isEmpty())
        GTEST_SKIP()
            << "dbus-daemon is missing or did not start: the read of a real window's tree is not tested";

    ChildProcess display;
    display.process.start(xvfb, {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "800x600x24"});
    if (!display.process.waitForReadyRead(10000))
        GTEST_SKIP() << "Xvfb did not start: the read of a real window's tree is not tested";
    const QString displayName = ":" + QString::fromUtf8(display.process.readLine()).trimmed();

    // libatspi finds the accessibility bus through the session bus of this process.
    const SessionAddress sessionAddress(session.address());
    const AtspiPlatform platform(session.connect("atspi-client"));
    platform.requestTrust();
    ASSERT_TRUE(platform.isTrusted()) << "the bus launcher did not enable the accessibility bus";

    ChildProcess window;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", displayName);
    environment.insert("QT_QPA_PLATFORM", "xcb");
    environment.insert("DBUS_SESSION_BUS_ADDRESS", session.address());
    environment.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    window.process.setProcessEnvironment(environment);
    window.process.start(QCoreApplication::applicationFilePath(), {testing::accessibleWindowArgument});
    if (!window.process.waitForReadyRead(15000))
        GTEST_SKIP()
            << "the test window could not be shown on Xvfb: the read of a real window's tree is not tested";
    const auto pid = static_cast<pid_t>(window.process.processId());

    // The toolkit registers its tree on its own schedule after the window is shown.
    AXReader::WindowList windows;
    const bool registered = QTest::qWaitFor(
        [&] {
            windows = AXReader::windows(platform, pid, 5000);
            return !windows.empty() && !windows.front().second.children.empty();
        },
        20000);
    ASSERT_TRUE(registered) << "no window of the test process appeared on the accessibility bus";
    EXPECT_EQ(windows.front().first, testing::accessibleWindowTitle);
    EXPECT_EQ(windows.front().second.role, "AXWindow");
    const AXNode& tree = windows.front().second;
    EXPECT_TRUE(find(tree, [](const AXNode& n) { return n.role == "AXButton" && n.title == "Press me"; }));
    EXPECT_TRUE(
        find(tree, [](const AXNode& n) { return n.role == "AXStaticText" && n.value == "Hello label"; }));
    const AXNode* button = find(tree, [](const AXNode& n) { return n.title == "Press me"; });
    ASSERT_TRUE(button);
    ASSERT_TRUE(button->frame.has_value());
    EXPECT_GT((*button->frame)[2], 0);

    const std::optional<AXNode> bar = AXReader::menuBar(platform, pid, 3000);
    ASSERT_TRUE(bar.has_value()) << "the menu bar was not found";
    EXPECT_EQ(bar->role, "AXMenuBar");
    const AXNode* file =
        find(*bar, [](const AXNode& n) { return n.role == "AXMenuBarItem" && n.title == "File"; });
    ASSERT_TRUE(file);
    EXPECT_TRUE(find(*file, [](const AXNode& n) { return n.role == "AXMenuItem" && n.title == "Open"; }));

    // The menus have the shape the menu walk expects: a submenu's items sit under its title.
    const ContextAnalyzer::MarkerTable markers;
    const ContextAnalyzer::EnglishTexts english;
    const ContextAnalyzer::TextIndex index{{"Close", "close"}};
    const auto menus = ContextAnalyzer::menuOccurrences(*bar, {markers, english, index}, Date{});
    ASSERT_TRUE(menus.contains("close"));
    EXPECT_EQ(menus.at("close").front().screen, "Menu bar > File > Recent");
}

} // namespace
} // namespace orvel
