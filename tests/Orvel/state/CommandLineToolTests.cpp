#include "Orvel/state/CommandLineTool.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "tests/Orvel/state/RecordingAlerts.h"
#include "tests/support/ScratchFolder.h"

namespace orvel {

namespace {

namespace fs = std::filesystem;
using testing::RecordingAlerts;

const Alert installed{"Command line tool installed",
                      "orvel is in ~/.local/bin. Add that folder to PATH if the shell doesn't find it."};

TEST(CommandLineTool, LinksTheToolAndReplacesOnlyALinkOrAFile) {
    struct Case {
        const char* name;
        bool toolPresent;
        fs::perms toolPermissions;
        std::function<void(const testing::ScratchFolder& home, const fs::path& application, RecordingAlerts&)>
            before;
        std::optional<QString> failure; // nothing: the success alert
    };
    const auto noSetup = [](const testing::ScratchFolder&, const fs::path&, RecordingAlerts&) {};
    const fs::perms executable = fs::perms::owner_all;
    const std::vector<Case> cases{
        {"first install, .local missing", true, executable, noSetup, std::nullopt},
        {"a second install replaces the first link", true, executable,
         [](const testing::ScratchFolder& home, const fs::path& application, RecordingAlerts& alerts) {
             installCommandLineTool(alerts, home.path(), application);
             ASSERT_EQ(alerts.shown, std::vector<Alert>{installed});
             alerts.shown.clear();
         },
         std::nullopt},
        {"a plain file is replaced", true, executable,
         [](const testing::ScratchFolder& home, const fs::path&, RecordingAlerts&) {
             home.write(".local/bin/orvel", "old");
         },
         std::nullopt},
        {"a folder is left alone", true, executable,
         [](const testing::ScratchFolder& home, const fs::path&, RecordingAlerts&) {
             home.write(".local/bin/orvel/keep.txt", "mine");
         },
         "An item that is not a link or a file is already at %1, so it was left as it is."},
        {"the tool is missing", false, executable, noSetup, "No such file or directory"},
        {"the tool is not executable", true, fs::perms::owner_read | fs::perms::owner_write, noSetup,
         "No such file or directory"},
        {".local/bin is a file", true, executable,
         [](const testing::ScratchFolder& home, const fs::path&, RecordingAlerts&) {
             home.write(".local/bin", "x");
         },
         "Not a directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::ScratchFolder home;
        testing::ScratchFolder application;
        const fs::path tool = commandLineToolPath(application.path());
        if (c.toolPresent) {
            application.write("helpers/orvel", "#!/bin/sh\n");
            fs::permissions(tool, c.toolPermissions);
        }
        RecordingAlerts alerts;
        c.before(home, application.path(), alerts);
        installCommandLineTool(alerts, home.path(), application.path());

        const fs::path link = home / ".local/bin/orvel";
        ASSERT_EQ(alerts.shown.size(), 1u);
        if (!c.failure) {
            EXPECT_EQ(alerts.shown.front(), installed);
            EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link)));
            EXPECT_EQ(fs::read_symlink(link), tool);
            EXPECT_TRUE(tool.is_absolute());
            continue;
        }
        const QString reason =
            c.failure->contains("%1") ? c.failure->arg(QString::fromStdString(link.string())) : *c.failure;
        const Alert expected{"Couldn't install the command line tool", reason};
        EXPECT_EQ(alerts.shown.front(), expected);
        EXPECT_FALSE(fs::is_symlink(fs::symlink_status(link)));
        if (fs::is_directory(link)) {
            EXPECT_EQ(testing::readBytes(link / "keep.txt"), "mine");
        }
    }
}

} // namespace
} // namespace orvel
