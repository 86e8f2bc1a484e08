#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/ByteSink.h"
#include "core/FileCalls.h"
#include "core/FolderWrites.h"
#include "core/OpenFolder.h"
#include "tests/support/RecordingFileCalls.h"
#include "tests/support/ScratchFolder.h"

extern char** environ;

namespace orvel {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing::RecordingFileCalls;
using testing::ScratchFolder;
using testing::writeBytes;
using Calls = std::vector<std::string>;

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// "a" and "b" replaced and "c" removed, in that order: a, c, b.
void replaceTwoRemoveOne(const OpenFolder& folder) {
    FolderWrites writes(folder);
    writes.replace("a", "new a");
    writes.remove("c");
    writes.replace("b", "new b");
    writes.commit();
}

TEST(FolderWrites, EveryFileIsFlushedBeforeAnyRenameAndTheFolderOnceAfterAll) {
    struct Case {
        const char* name;
        std::function<void(const OpenFolder&)> write;
        Calls expected;
    };
    const std::vector<Case> cases{
        {"one file",
         [](const OpenFolder& folder) { folder.replaceFile("a", "new a"); },
         {"create a", "write a", "sync a", "close a", "rename a", "sync folder"}},
        {"two files and a removal",
         replaceTwoRemoveOne,
         {"create a", "write a", "sync a", "close a", "create b", "write b", "sync b", "close b", "rename a",
          "remove c", "rename b", "sync folder"}},
        {"nothing asked for", [](const OpenFolder& folder) { FolderWrites(folder).commit(); }, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder scratch;
        const OpenFolder folder = OpenFolder::open(scratch.path());
        RecordingFileCalls recorder;
        c.write(folder);
        EXPECT_EQ(recorder.calls(), c.expected);
    }
}

TEST(FolderWrites, AFailedCallLosesNothingAndLeavesNoTemporaryFile) {
    struct Case {
        const char* failing;
        const char* message;
        // What the folder holds afterwards, "a", "b" and "c" in that order ("-" for a file that is gone).
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases{
        {"create b", "Cannot create the file", {"old a", "old b", "old c"}},
        {"write b", "Cannot write the file", {"old a", "old b", "old c"}},
        {"sync a", "Cannot flush the file to disk", {"old a", "old b", "old c"}},
        {"close b", "Cannot write the file", {"old a", "old b", "old c"}},
        // The files before the failed rename are replaced, those after it keep their content.
        {"rename b", "Cannot replace the file", {"new a", "old b", "-"}},
        {"sync folder", "Cannot flush the folder to disk", {"new a", "new b", "-"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failing);
        ScratchFolder scratch;
        for (const char* name : {"a", "b", "c"})
            writeBytes(scratch / name, std::string("old ") + name);
        const OpenFolder folder = OpenFolder::open(scratch.path());
        std::string message;
        {
            RecordingFileCalls recorder(c.failing);
            try {
                replaceTwoRemoveOne(folder);
            } catch (const fs::filesystem_error& error) {
                message = error.what();
            }
        }
        EXPECT_NE(message.find(c.message), std::string::npos) << message;
        std::vector<std::string> held;
        for (const char* name : {"a", "b", "c"})
            held.push_back(fs::exists(scratch / name) ? readBytes(scratch / name) : "-");
        EXPECT_EQ(held, c.expected);
        std::set<std::string> left = namesIn(scratch.path());
        std::erase_if(left,
                      [](const std::string& name) { return name == "a" || name == "b" || name == "c"; });
        EXPECT_EQ(left, std::set<std::string>{});
    }
}

// The bytes handed over piece by piece: what was written, a producer that fails after some pieces and a
// full disk partway through.
TEST(FolderWrites, AProducedReplacementIsWrittenOrLeavesTheOldFileWhole) {
    class FullAfterTwoWrites : public FileCalls {
      public:
        ssize_t write(int file, std::string_view data) override {
            if (++m_writes > 2) {
                errno = ENOSPC;
                return -1;
            }
            return FileCalls::write(file, data);
        }

      private:
        int m_writes = 0;
        FileCalls::Substitute m_substitute{*this};
    };
    const auto pieces = [](const ByteSink& write) {
        for (int piece = 0; piece < 5; ++piece)
            write("piece " + std::to_string(piece) + "\n");
    };
    struct Case {
        const char* name;
        std::function<void(const OpenFolder&)> write;
        std::string expected;
        const char* message;
    };
    const std::vector<Case> cases{
        {"every piece written", [&](const OpenFolder& folder) { folder.replaceFile("a", pieces); },
         "piece 0\npiece 1\npiece 2\npiece 3\npiece 4\n", ""},
        {"a producer that throws after two pieces",
         [](const OpenFolder& folder) {
             folder.replaceFile("a", [](const ByteSink& write) {
                 write("piece 0\n");
                 write("piece 1\n");
                 throw std::runtime_error("Cannot encode");
             });
         },
         "old a", "Cannot encode"},
        {"a disk that is full after two pieces",
         [&](const OpenFolder& folder) {
             FullAfterTwoWrites full;
             folder.replaceFile("a", pieces);
         },
         "old a", "Cannot write the file"},
        {"a producer that swallows the failed write",
         [](const OpenFolder& folder) {
             FullAfterTwoWrites full;
             folder.replaceFile("a", [](const ByteSink& write) {
                 for (int piece = 0; piece < 5; ++piece)
                     try {
                         write("piece\n");
                     } catch (const fs::filesystem_error&) {
                     }
             });
         },
         "old a", "Cannot write the file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder scratch;
        writeBytes(scratch / "a", "old a");
        const OpenFolder folder = OpenFolder::open(scratch.path());
        std::string message;
        try {
            c.write(folder);
        } catch (const std::exception& error) {
            message = error.what();
        }
        EXPECT_NE(message.find(c.message), std::string::npos) << message;
        EXPECT_EQ(message.empty(), std::string(c.message).empty()) << message;
        EXPECT_EQ(readBytes(scratch / "a"), c.expected);
        EXPECT_EQ(namesIn(scratch.path()), std::set<std::string>{"a"});
    }
}

constexpr const char* uuid = "0123ABCD-4567-89EF-0123-456789ABCDEF";

// Holds the lock on a file from another process, as that process's write of it does, until it ends.
class LockHolder {
  public:
    explicit LockHolder(const fs::path& file) {
        // Without a fork, so that the process killed at the end is the one that holds the lock.
        std::string program = "/usr/bin/flock", noFork = "--no-fork", path = file.string(), command = "sleep",
                    length = "600";
        char* argv[] = {program.data(), noFork.data(), path.data(), command.data(), length.data(), nullptr};
        if (posix_spawn(&m_pid, argv[0], nullptr, nullptr, argv, environ) != 0)
            m_pid = -1;
        // Taken once this process can no longer take it.
        const int own = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        for (int tries = 0; m_pid > 0 && tries < 10000 && ::flock(own, LOCK_EX | LOCK_NB) == 0; ++tries) {
            ::flock(own, LOCK_UN);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ::close(own);
    }
    ~LockHolder() {
        if (m_pid <= 0)
            return;
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

  private:
    pid_t m_pid = -1;
};

// A write into a folder removes what writes cut short by a kill left there: regular files named as the
// temporary files are that no process can still be writing, and nothing else.
TEST(FolderWrites, AWriteRemovesTheFoldersStaleTemporaryFilesAndNothingElse) {
    enum class Kind { file, folder, link, fifo };
    // Left long ago by a write that was cut short; just made; still being written by another process.
    enum class Writer { gone, starting, writing };
    struct Case {
        std::string name;
        Kind kind;
        bool removed;
        Writer writer = Writer::gone;
    };
    const std::string u = uuid;
    const std::vector<Case> cases{
        {".Main.strings." + u + ".tmp", Kind::file, true},
        {".name.with.dots." + u + ".tmp", Kind::file, true},
        {".Fresh.strings." + u + ".tmp", Kind::file, false, Writer::starting},
        {".Locked.strings." + u + ".tmp", Kind::file, false, Writer::writing},
        {".de.json.0123abcd-4567-89ef-0123-456789abcdef.tmp", Kind::file, false},
        {"." + u + ".tmp", Kind::file, false},
        {"a." + u + ".tmp", Kind::file, false},
        {".a" + u + ".tmp", Kind::file, false},
        {".a." + u + ".tmp.bak", Kind::file, false},
        {".a." + u + ".TMP", Kind::file, false},
        {".a.0123ABCD-4567-89EF-0123-456789ABCDEG.tmp", Kind::file, false},
        {".a.0123ABCD+4567-89EF-0123-456789ABCDEF.tmp", Kind::file, false},
        {".a.0123ABCD-4567-89EF-0123-456789ABCDE.tmp", Kind::file, false},
        {".b." + u + ".tmp", Kind::folder, false},
        {".c." + u + ".tmp", Kind::link, false},
        {".d." + u + ".tmp", Kind::fifo, false},
        {"notes.json", Kind::file, false},
    };
    ScratchFolder scratch;
    const fs::path folder = scratch.makeFolder("folder");
    const fs::path outsideFile = scratch / "outside";
    writeBytes(outsideFile, "outside");
    std::vector<std::unique_ptr<LockHolder>> writers;
    for (const Case& c : cases) {
        switch (c.kind) {
        case Kind::file:
            writeBytes(folder / c.name, "half");
            if (c.writer != Writer::starting)
                fs::last_write_time(folder / c.name,
                                    fs::file_time_type::clock::now() - std::chrono::hours(1));
            if (c.writer == Writer::writing)
                writers.push_back(std::make_unique<LockHolder>(folder / c.name));
            break;
        case Kind::folder:
            fs::create_directory(folder / c.name);
            writeBytes(folder / c.name / "inside", "inside");
            break;
        case Kind::link:
            fs::create_symlink(outsideFile, folder / c.name);
            break;
        case Kind::fifo:
            ASSERT_EQ(::mkfifo((folder / c.name).c_str(), 0600), 0);
            break;
        }
    }
    OpenFolder::open(folder).replaceFile("a", "new a");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fs::exists(fs::symlink_status(folder / c.name)), !c.removed);
    }
    EXPECT_EQ(readBytes(folder / "a"), "new a");
    EXPECT_EQ(readBytes(outsideFile), "outside");
    EXPECT_EQ(readBytes(folder / (".b." + u + ".tmp") / "inside"), "inside");
}

// Another write of this process may be making its temporary file in the same folder at that moment;
// that one is no leftover and must reach its target.
TEST(FolderWrites, ATemporaryFileAnotherWriteIsMakingIsNotTakenForAStaleOne) {
    // Writes "b" into the folder while the write of "a" puts its bytes down, on the same thread.
    class WriteDuringWrite : public FileCalls {
      public:
        explicit WriteDuringWrite(const OpenFolder& folder) : m_folder(folder), m_substitute(*this) {}
        ssize_t write(int file, std::string_view data) override {
            if (data == "new a" && !m_done) {
                m_done = true;
                m_folder.replaceFile("b", "new b");
            }
            return FileCalls::write(file, data);
        }

      private:
        const OpenFolder& m_folder;
        bool m_done = false;
        FileCalls::Substitute m_substitute;
    };
    struct Case {
        const char* name;
        std::function<void(const OpenFolder&)> write;
    };
    const std::vector<Case> cases{
        {"being written",
         [](const OpenFolder& folder) {
             WriteDuringWrite during(folder);
             folder.replaceFile("a", "new a");
         }},
        {"written, waiting for its commit",
         [](const OpenFolder& folder) {
             FolderWrites writes(folder);
             writes.replace("a", "new a");
             folder.replaceFile("b", "new b");
             writes.commit();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder scratch;
        const OpenFolder folder = OpenFolder::open(scratch.path());
        EXPECT_NO_THROW(c.write(folder));
        EXPECT_EQ(readBytes(scratch / "a"), "new a");
        EXPECT_EQ(readBytes(scratch / "b"), "new b");
        EXPECT_EQ(namesIn(scratch.path()), (std::set<std::string>{"a", "b"}));
    }
}

} // namespace
} // namespace orvel
