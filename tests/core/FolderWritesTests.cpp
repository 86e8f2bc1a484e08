#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "core/FolderWrites.h"
#include "core/OpenFolder.h"
#include "tests/support/RecordingFileCalls.h"
#include "tests/support/ScratchFolder.h"

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

} // namespace
} // namespace orvel
