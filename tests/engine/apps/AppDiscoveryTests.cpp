#include <gtest/gtest.h>

#include <unistd.h>

#include "core/OrvelPaths.h"
#include "engine/apps/AppDiscovery.h"
#include "tests/engine/apps/BundleBuilder.h"
#include "tests/engine/apps/FakeAppPlatform.h"
#include "tests/support/ScratchFolder.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;
using testing::makeBundle;

class AppDiscoveryTest : public ::testing::Test {
  protected:
    fs::path bundle(const fs::path& relative, const std::string& identifier, const std::string& name) {
        return makeBundle(scratch, relative, {{"CFBundleIdentifier", identifier}, {"CFBundleName", name}});
    }
    std::vector<std::string> scannedNames() {
        std::vector<std::string> names;
        for (const auto& app : AppDiscovery::scan(folders, platform))
            names.push_back(app.name);
        return names;
    }

    testing::ScratchFolder scratch;
    testing::FakeAppPlatform platform;
    std::vector<fs::path> folders{scratch.path() / "Applications", scratch.path() / "Setapp",
                                  scratch.path() / "home/Applications"};
};

TEST_F(AppDiscoveryTest, FolderPrecedenceAndRunningCopies) {
    const auto first = bundle("Applications/Dup.app", "com.example.Dup", "Dup in Applications");
    bundle("Setapp/Dup.app", "com.example.Dup", "Dup in Setapp");
    bundle("home/Applications/Dup.app", "com.example.Dup", "Dup at home");
    bundle("home/Applications/Solo.app", "com.example.Solo", "Solo");
    bundle("Applications/Utilities/Hidden.app", "com.example.Hidden", "Hidden");
    scratch.write("Applications/Untranslatable.app/Contents/Info.plist",
                  testing::stringDictionaryPlist({{"CFBundleIdentifier", "com.example.None"}}));
    folders.push_back(scratch.path() / "missing");

    auto apps = AppDiscovery::scan(folders, platform);
    ASSERT_EQ(apps.size(), 2u);
    EXPECT_EQ(apps[0].name, "Dup in Applications");
    EXPECT_EQ(apps[0].bundleURL, first);
    EXPECT_EQ(apps[1].name, "Solo");

    const auto running = bundle("Downloads/Dup.app", "com.example.Dup", "Dup running");
    platform.running = {scratch.path() / "Downloads/NotAnApp.app", running};
    apps = AppDiscovery::scan(folders, platform);
    ASSERT_EQ(apps.size(), 2u);
    EXPECT_EQ(apps[0].bundleURL, running);
    EXPECT_EQ(apps[0].name, "Dup running");
}

TEST_F(AppDiscoveryTest, SortedInTheFindersOrder) {
    bundle("Applications/A.app", "a", "Item 10");
    bundle("Applications/B.app", "b", "item 2");
    bundle("Setapp/C.app", "c", "Item 1");
    EXPECT_EQ(scannedNames(), (std::vector<std::string>{"Item 1", "item 2", "Item 10"}));
}

TEST_F(AppDiscoveryTest, FindsByPathIdentifierAndName) {
    const auto foo = bundle("Applications/Foo.app", "com.example.Foo", "Foo Bar");
    bundle("Setapp/Other.app", "com.example.Other", "com.example.Foo");

    EXPECT_EQ(AppDiscovery::find(foo.string(), folders, platform)->bundleURL, foo);
    EXPECT_EQ(AppDiscovery::find("com.example.Foo", folders, platform)->bundleURL, foo);
    EXPECT_EQ(AppDiscovery::find("foo bar", folders, platform)->bundleURL, foo);
    EXPECT_EQ(AppDiscovery::find("COM.EXAMPLE.FOO", folders, platform)->name, "com.example.Foo");
    EXPECT_FALSE(AppDiscovery::find("Foo", folders, platform));
    EXPECT_FALSE(AppDiscovery::find(scratch.path().string() + "/Applications/Missing", folders, platform));

    // "Foo Bar.app" is a path relative to the current folder, never a name.
    bundle("Applications/Named.app", "com.example.Named", "Named.app");
    const fs::path previous = fs::current_path();
    fs::current_path(scratch.path());
    EXPECT_FALSE(AppDiscovery::find("Named.app", folders, platform));
    fs::current_path(scratch.path() / "Applications");
    const auto relative = AppDiscovery::find("Foo.app", folders, platform);
    fs::current_path(previous);
    ASSERT_TRUE(relative);
    EXPECT_EQ(relative->bundleURL, foo);

    OrvelPaths::setHomeOverride(scratch.path() / "home");
    const auto home = bundle("home/Applications/Tilde.app", "com.example.Tilde", "Tilde");
    EXPECT_EQ(AppDiscovery::find("~/Applications/Tilde.app", folders, platform)->bundleURL, home);
    EXPECT_EQ(AppDiscovery::folders().back(), scratch.path() / "home/Applications");
    OrvelPaths::setHomeOverride(std::nullopt);
}

} // namespace
} // namespace orvel
