#include "Orvel/app/SingleInstance.h"

#include <gtest/gtest.h>

#include <QLocalServer>
#include <QLocalSocket>

#include <cstdlib>
#include <functional>
#include <future>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

#include "tests/Orvel/state/EventLoop.h"
#include "tests/support/ScratchFolder.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;

// The sender waits for the receiver's answer, which this thread's loop gives: it runs beside it.
bool forwardWhileProcessing(const QString& name, const QStringList& links, int timeoutMs = 3000) {
    auto sent =
        std::async(std::launch::async, [&] { return SingleInstance::forward(name, links, timeoutMs); });
    testing::processUntil(
        [&] { return sent.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
    return sent.get();
}

// Sets an environment variable for one scope.
class Environment {
  public:
    Environment(const char* name, std::optional<std::string> value) : m_name(name) {
        if (const char* old = std::getenv(name))
            m_old = old;
        set(value);
    }
    ~Environment() { set(m_old); }

  private:
    void set(const std::optional<std::string>& value) {
        if (value)
            ::setenv(m_name, value->c_str(), 1);
        else
            ::unsetenv(m_name);
    }
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(SingleInstanceTest, HandsLinksToTheRunningInstance) {
    struct Case {
        const char* name;
        QStringList sent;
        QStringList expected;
        bool forwarded;
    };
    const QString oversized(SingleInstance::maximumMessageBytes + 1, QLatin1Char('a'));
    const std::vector<Case> cases = {
        {"two links, in order",
         {QStringLiteral("orvel://translate?app=X"), QStringLiteral("orvel://translate?app=Y&language=de")},
         {QStringLiteral("orvel://translate?app=X"), QStringLiteral("orvel://translate?app=Y&language=de")},
         true},
        {"no links: only the window comes to the front", {}, {}, true},
        {"non-ASCII text",
         {QStringLiteral("orvel://translate?app=\u00e9")},
         {QStringLiteral("orvel://translate?app=\u00e9")},
         true},
        {"line breaks inside a link cannot end the message",
         {QStringLiteral("orvel://a\n\norvel://b"), QStringLiteral("orvel://c")},
         {QStringLiteral("orvel://a"), QStringLiteral("orvel://b"), QStringLiteral("orvel://c")},
         true},
        {"more than a message may hold is dropped", {oversized}, {}, false},
    };
    testing::ScratchFolder scratch;
    const QString name = QString::fromStdString((scratch.path() / "orvel.socket").string());
    SingleInstance instance;
    ASSERT_TRUE(instance.listen(name)) << instance.errorString().toStdString();
    QStringList received;
    int activations = 0;
    QObject::connect(&instance, &SingleInstance::linkReceived,
                     [&](const QString& link) { received << link; });
    QObject::connect(&instance, &SingleInstance::activationRequested, [&] { ++activations; });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        received.clear();
        const int activationsBefore = activations;
        EXPECT_EQ(forwardWhileProcessing(name, c.sent), c.forwarded);
        testing::processPendingEvents();
        EXPECT_EQ(activations > activationsBefore, c.forwarded);
        EXPECT_EQ(received, c.expected);
    }
}

TEST(SingleInstanceTest, FindsNoInstanceWhereNoneListens) {
    testing::ScratchFolder scratch;
    const QString name = QString::fromStdString((scratch.path() / "orvel.socket").string());
    EXPECT_FALSE(SingleInstance::forward(name, {QStringLiteral("orvel://translate?app=X")}, 500));
    // What an instance that crashed leaves behind is taken over.
    testing::writeBytes(scratch.path() / "orvel.socket", "");
    SingleInstance instance;
    EXPECT_TRUE(instance.listen(name)) << instance.errorString().toStdString();
}

// Whatever holds the name without answering as Orvel gets no links and does not keep this start from
// running: it takes the name over.
TEST(SingleInstanceTest, AListenerThatIsNotOrvelIsNotTrusted) {
    struct Case {
        const char* name;
        // What the listener sends back once it has read the message; nothing for a silent one.
        std::optional<QByteArray> answer;
    };
    const std::vector<Case> cases = {
        {"silent", std::nullopt},
        {"answers something else", QByteArray("ok\n")},
        {"closes at once", QByteArray()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::ScratchFolder scratch;
        const QString name = QString::fromStdString((scratch.path() / "orvel.socket").string());
        QLocalServer stranger;
        ASSERT_TRUE(stranger.listen(name));
        QObject::connect(&stranger, &QLocalServer::newConnection, [&] {
            QLocalSocket* socket = stranger.nextPendingConnection();
            if (!c.answer)
                return;
            socket->write(*c.answer);
            socket->disconnectFromServer();
        });
        EXPECT_FALSE(forwardWhileProcessing(name, {QStringLiteral("orvel://translate?app=X")}, 500));
        stranger.close();
        SingleInstance instance;
        EXPECT_TRUE(instance.listen(name)) << instance.errorString().toStdString();
    }
}

TEST(SingleInstanceTest, AConnectionThatSendsNothingIsClosedAfterItsTimeOut) {
    testing::ScratchFolder scratch;
    const QString name = QString::fromStdString((scratch.path() / "orvel.socket").string());
    SingleInstance instance(nullptr, 200);
    ASSERT_TRUE(instance.listen(name));
    QLocalSocket idle;
    idle.connectToServer(name);
    ASSERT_TRUE(idle.waitForConnected(1000));
    EXPECT_TRUE(testing::processUntil([&] { return idle.state() == QLocalSocket::UnconnectedState; }, 3000));
    // The instance still serves the next start.
    EXPECT_TRUE(forwardWhileProcessing(name, {}));
}

TEST(SingleInstanceTest, TheSocketIsThisUsersAloneAndGoesWithTheInstance) {
    struct Case {
        const char* name;
        // The socket's name in the scratch folder.
        std::string fileName;
        bool listens;
    };
    const std::vector<Case> cases = {
        {"a name that fits a socket's address", "orvel.socket", true},
        {"a name longer than a socket's address holds", std::string(120, 'n'), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::ScratchFolder scratch;
        const fs::path path = scratch.path() / c.fileName;
        {
            SingleInstance instance;
            ASSERT_EQ(instance.listen(QString::fromStdString(path.string())), c.listens);
            EXPECT_EQ(instance.errorString().isEmpty(), c.listens) << instance.errorString().toStdString();
            struct stat status {};
            ASSERT_EQ(::lstat(path.c_str(), &status) == 0, c.listens);
            if (c.listens) {
                EXPECT_TRUE(S_ISSOCK(status.st_mode));
                EXPECT_EQ(status.st_mode & 0777, 0600u);
            }
        }
        // The next start finds no socket left that nothing serves.
        EXPECT_FALSE(fs::exists(fs::symlink_status(path)));
    }
}

// A message may come in pieces, with pauses between them, as long as it comes within the time-out.
TEST(SingleInstanceTest, AMessageSentInPiecesIsTakenWhole) {
    testing::ScratchFolder scratch;
    const QString name = QString::fromStdString((scratch.path() / "orvel.socket").string());
    SingleInstance instance;
    ASSERT_TRUE(instance.listen(name));
    QStringList received;
    QObject::connect(&instance, &SingleInstance::linkReceived,
                     [&](const QString& link) { received << link; });
    QLocalSocket sender;
    sender.connectToServer(name);
    ASSERT_TRUE(sender.waitForConnected(1000));
    for (const char* piece : {"orvel://trans", "late?app=X\n", "orvel://b\n", "\n"}) {
        sender.write(piece);
        ASSERT_TRUE(sender.waitForBytesWritten(1000));
        testing::processUntil([] { return false; }, 30);
    }
    EXPECT_TRUE(testing::processUntil([&] { return received.size() == 2; }, 3000));
    EXPECT_EQ(received,
              (QStringList{QStringLiteral("orvel://translate?app=X"), QStringLiteral("orvel://b")}));
    // The answer may already have been read in while the links came in.
    const QByteArray expected(SingleInstance::acknowledgement);
    testing::processUntil(
        [&] { return sender.bytesAvailable() >= expected.size() || sender.waitForReadyRead(10); }, 3000);
    EXPECT_EQ(sender.readAll(), expected);
}

TEST(SingleInstanceTest, TheSocketLivesInAFolderOnlyThisUserCanOpen) {
    struct Case {
        const char* name;
        // Prepares "runtime" (the session's runtime folder when it exists) and "tmp" (the temporary
        // folder) of the scratch folder.
        std::function<void(const testing::ScratchFolder&)> prepare;
        // The folder expected to hold the socket, relative to the scratch folder; empty for none.
        std::string expectedFolder;
    };
    const std::string uidFolder = "tmp/orvel-" + std::to_string(::getuid());
    const auto folderWithMode = [](std::string relative, mode_t mode) {
        return [relative, mode](const testing::ScratchFolder& scratch) {
            ::chmod(scratch.makeFolder(relative).c_str(), mode);
        };
    };
    const std::vector<Case> cases = {
        {"a private runtime folder", folderWithMode("runtime", 0700), "runtime"},
        {"without a runtime folder, one of its own is made", folderWithMode("tmp", 0777), uidFolder},
        {"a runtime folder others may enter is passed over", folderWithMode("runtime", 0755), uidFolder},
        {"its own folder, made earlier", folderWithMode(uidFolder, 0700), uidFolder},
        {"a folder of that name that others may enter is refused", folderWithMode(uidFolder, 0777), ""},
        {"a link of that name is refused",
         [&](const testing::ScratchFolder& scratch) {
             ::chmod(scratch.makeFolder("elsewhere").c_str(), 0700);
             scratch.makeFolder("tmp");
             fs::create_symlink(scratch / "elsewhere", scratch / uidFolder);
         },
         ""},
        {"a file of that name is refused",
         [&](const testing::ScratchFolder& scratch) { scratch.write(uidFolder, ""); }, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::ScratchFolder scratch;
        scratch.makeFolder("tmp");
        c.prepare(scratch);
        const Environment runtime("XDG_RUNTIME_DIR", (scratch / "runtime").string());
        const Environment temporary("TMPDIR", (scratch / "tmp").string());
        const QString name = SingleInstance::serverName("/home/person");
        if (c.expectedFolder.empty()) {
            EXPECT_TRUE(name.isEmpty()) << name.toStdString();
            SingleInstance instance;
            EXPECT_FALSE(instance.listen(name));
            EXPECT_FALSE(instance.errorString().isEmpty());
            continue;
        }
        EXPECT_EQ(fs::path(name.toStdString()).parent_path(), scratch / c.expectedFolder);
        struct stat status {};
        ASSERT_EQ(::lstat((scratch / c.expectedFolder).c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, 0700u);
    }
}

} // namespace
} // namespace orvel
