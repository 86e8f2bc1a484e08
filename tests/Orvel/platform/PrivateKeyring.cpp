#include "tests/Orvel/platform/PrivateKeyring.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "tests/support/ScratchFolder.h"

extern char** environ;

namespace orvel::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Waits for an external process to come up; nothing can be injected into another program's clock.
template <class Ready> bool waitFor(Ready ready) {
    for (auto deadline = std::chrono::steady_clock::now() + 15s;
         std::chrono::steady_clock::now() < deadline;) {
        if (ready())
            return true;
        std::this_thread::sleep_for(50ms);
    }
    return ready();
}

std::vector<char*> pointers(std::vector<std::string>& texts) {
    std::vector<char*> out;
    for (auto& text : texts)
        out.push_back(text.data());
    out.push_back(nullptr);
    return out;
}

} // namespace

PrivateKeyring::PrivateKeyring(const fs::path& folder) : m_folder(folder) {
    const fs::path socket = folder / "bus";
    m_address = "unix:path=" + socket.string();
    writeBytes(
        folder / "bus.conf",
        "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\" "
        "\"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
        "<busconfig><type>session</type><listen>" +
            m_address +
            "</listen><auth>EXTERNAL</auth><policy context=\"default\"><allow send_destination=\"*\" "
            "eavesdrop=\"true\"/><allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n");
    fs::create_directories(folder / "run");
    fs::permissions(folder / "run", fs::perms::owner_all);

    if (!startDaemon({"dbus-daemon", "--nofork", "--config-file=" + (folder / "bus.conf").string()}, {}, "",
                     folder / "bus.log")) {
        m_problem = "dbus-daemon cannot be started";
        return;
    }
    if (!waitFor([&] { return fs::exists(socket); })) {
        m_problem = "the private bus did not come up";
        return;
    }
    const std::vector<std::string> environment{"HOME=" + folder.string(),
                                               "XDG_DATA_HOME=" + (folder / "data").string(),
                                               "XDG_CONFIG_HOME=" + (folder / "config").string(),
                                               "XDG_RUNTIME_DIR=" + (folder / "run").string(),
                                               "DBUS_SESSION_BUS_ADDRESS=" + m_address,
                                               std::string("PATH=") + std::getenv("PATH")};
    if (!startDaemon({"gnome-keyring-daemon", "--foreground", "--unlock", "--components=secrets"},
                     environment, "orvel-test", folder / "keyring.log")) {
        m_problem = "gnome-keyring-daemon cannot be started";
        return;
    }
    if (!waitFor([&] { return secretsNameOwned(); })) {
        m_problem = "the keyring did not appear on the private bus";
        return;
    }
    setenv("DBUS_SESSION_BUS_ADDRESS", m_address.c_str(), 1);
}

PrivateKeyring::~PrivateKeyring() {
    // The keyring goes first, then its bus.
    for (auto pid = m_started.rbegin(); pid != m_started.rend(); ++pid) {
        kill(*pid, SIGTERM);
        waitpid(*pid, nullptr, 0);
    }
}

bool PrivateKeyring::startDaemon(const std::vector<std::string>& arguments,
                                 const std::vector<std::string>& environment, const std::string& input,
                                 const fs::path& output) {
    const pid_t pid = spawn(arguments, environment, input, output);
    if (pid > 0)
        m_started.push_back(pid);
    return pid > 0;
}

pid_t PrivateKeyring::spawn(const std::vector<std::string>& arguments,
                            const std::vector<std::string>& environment, const std::string& input,
                            const fs::path& output) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], STDIN_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);

    std::vector<std::string> argumentTexts = arguments;
    std::vector<std::string> environmentTexts = environment;
    std::vector<char*> argv = pointers(argumentTexts);
    std::vector<char*> envp = pointers(environmentTexts);
    pid_t pid = -1;
    const int status = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(),
                                    environment.empty() ? environ : envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[0]);
    if (status != 0) {
        close(pipeEnds[1]);
        return -1;
    }
    if (!input.empty() && write(pipeEnds[1], input.data(), input.size()) < 0)
        pid = -1;
    close(pipeEnds[1]);
    return pid;
}

bool PrivateKeyring::secretsNameOwned() const {
    const fs::path reply = m_folder / "name.reply";
    const pid_t pid = spawn({"dbus-send", "--bus=" + m_address, "--print-reply",
                             "--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
                             "org.freedesktop.DBus.NameHasOwner", "string:org.freedesktop.secrets"},
                            {}, "", reply);
    if (pid <= 0)
        return false;
    waitpid(pid, nullptr, 0);
    return readBytes(reply).find("boolean true") != std::string::npos;
}

} // namespace orvel::testing
