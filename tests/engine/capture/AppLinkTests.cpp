#include <gtest/gtest.h>

#include "core/DefaultsStore.h"
#include "core/OrvelPaths.h"
#include "core/OrvelProtocol.h"
#include "core/StringsFiles.h"
#include "core/UnsafeNameError.h"
#include "engine/capture/AppLink.h"
#include "engine/capture/InMemoryNotificationBus.h"
#include "tests/engine/apps/BundleBuilder.h"
#include "tests/engine/apps/FakeAppPlatform.h"
#include "tests/engine/capture/LiveFakes.h"
#include "tests/support/ScratchFolder.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using OrvelProtocol::Command;

const Date start{std::chrono::seconds(1'700'000'000)};

class AppLinkTests : public ::testing::Test {
  protected:
    AppLinkTests() { OrvelPaths::setHomeOverride(m_scratch.path() / "home"); }
    ~AppLinkTests() override { OrvelPaths::setHomeOverride(std::nullopt); }

    AppLink link(std::string bundleID = "com.example.Notes", bool sandboxed = false) {
        TranslatableApp app;
        app.bundleURL = m_scratch.path() / "Notes.app";
        app.bundleIdentifier = std::move(bundleID);
        app.sandboxed = sandboxed;
        return AppLink{std::move(app), LiveServices{.bus = m_bus,
                                                    .platform = m_platform,
                                                    .clock = m_clock,
                                                    .defaultsFolder = m_scratch.path() / "defaults"}};
    }

    fs::path runningBundle(const std::string& folder, const std::string& bundleID) {
        auto bundle = testing::makeBundle(m_scratch, folder, {{"CFBundleIdentifier", bundleID}});
        m_platform.running.push_back(bundle);
        return bundle;
    }

    AppState stateWith(std::optional<std::string> language, Date updated = start) {
        AppState state;
        state.language = std::move(language);
        state.updated = updated;
        return state;
    }

    DefaultsStore defaults() { return *link().defaults(); }

    testing::ScratchFolder m_scratch;
    InMemoryNotificationBus m_bus;
    testing::FakeAppPlatform m_platform;
    testing::FakeLiveClock m_clock{start};
};

TEST_F(AppLinkTests, CommandsAreAddressedToTheBundleIdentifierWithTheirEntries) {
    const auto notes = link();
    testing::FakeCompanion companion(m_bus, m_clock, notes);
    std::vector<Notification> elsewhere;
    auto other = m_bus.subscribe("orvel.command", "com.example.Other",
                                 [&](const Notification& n) { elsewhere.push_back(n); });

    notes.send(Command::probe, {{"on", true}});
    notes.send(Command::show, {{"screen", "prefs"}, {"command", "refresh"}});
    notes.send(Command::hello);

    ASSERT_EQ(companion.received.size(), 3u);
    EXPECT_EQ(companion.received[0].name, "orvel.command");
    EXPECT_EQ(companion.received[0].object, "com.example.Notes");
    EXPECT_EQ(companion.received[0].userInfo, json::parse(R"({"command": "probe", "on": true})"));
    EXPECT_EQ(companion.received[1].userInfo, json::parse(R"({"command": "show", "screen": "prefs"})"));
    EXPECT_EQ(companion.received[2].userInfo, json::parse(R"({"command": "hello"})"));
    EXPECT_TRUE(elsewhere.empty());
}

TEST_F(AppLinkTests, ReadStateGivesNothingUnlessTheFileDecodes) {
    const auto notes = link();
    EXPECT_FALSE(notes.readState());

    m_scratch.write(notes.stateURL().lexically_relative(m_scratch.path()), R"({"protocol": 1})");
    EXPECT_FALSE(notes.readState());
    m_scratch.write(notes.stateURL().lexically_relative(m_scratch.path()), "{not json");
    EXPECT_FALSE(notes.readState());

    testing::FakeCompanion(m_bus, m_clock, notes).publish(stateWith("de"));
    ASSERT_TRUE(notes.readState());
    EXPECT_EQ(notes.readState()->language, "de");
    EXPECT_EQ(notes.stateURL(),
              m_scratch.path() / "home/Library/Application Support/Orvel/com.example.Notes/state.json");
}

TEST_F(AppLinkTests, ReadStateFollowsTheSandboxAndRefusesIdentifiersThatLeaveTheFolder) {
    const auto sandboxed = link("com.example.Notes", true);
    EXPECT_EQ(sandboxed.stateURL(), m_scratch.path() /
                                        "home/Library/Containers/com.example.Notes/Data/Library/"
                                        "Application Support/Orvel/com.example.Notes/state.json");

    // "../x" would read a state file outside the folder of the companions' data: no path is made for it,
    // and a state file where the path would have led is not read.
    const auto escaping = link("../com.example.Notes");
    EXPECT_THROW(escaping.stateURL(), UnsafeNameError);
    StringsFiles::writeAtomically(OrvelProtocol::encode(stateWith("de")),
                                  m_scratch.path() /
                                      "home/Library/Application Support/com.example.Notes/state.json");
    EXPECT_FALSE(escaping.readState());
}

TEST_F(AppLinkTests, StatesWrittenUpToTenMillisecondsBeforeTheCommandAnswerIt) {
    EXPECT_TRUE(AppLink::isFresh(stateWith({}, start - 5ms), start));
    EXPECT_TRUE(AppLink::isFresh(stateWith({}, start - 10ms), start));
    EXPECT_FALSE(AppLink::isFresh(stateWith({}, start - 20ms), start));

    const auto notes = link();
    testing::FakeCompanion companion(m_bus, m_clock, notes);
    companion.publish(stateWith("de", start - 5ms));
    EXPECT_TRUE(notes.request(Command::hello, {}, 1s, [](const AppState&) { return true; }));
    EXPECT_EQ(m_clock.pauses, 0);

    companion.publish(stateWith("de", m_clock.now() - 20ms));
    EXPECT_FALSE(notes.request(Command::hello, {}, 1s, [](const AppState&) { return true; }));
}

TEST_F(AppLinkTests, RequestWaitsUntilAnAcceptedAnswerOrTheDeadline) {
    const auto notes = link();
    testing::FakeCompanion companion(m_bus, m_clock, notes);
    companion.delay = 1200ms;
    companion.answer = [&](const Notification&) {
        AppState state;
        state.probe = true;
        return state;
    };

    auto answer =
        notes.request(Command::probe, {{"on", true}}, 5s, [](const AppState& s) { return s.probe; });
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->updated, start + 1200ms);
    EXPECT_EQ(m_clock.now(), start + 1200ms);

    const Date sent = m_clock.now();
    EXPECT_FALSE(
        notes.request(Command::probe, {{"on", false}}, 3s, [](const AppState& s) { return !s.probe; }));
    EXPECT_GE(m_clock.now(), sent + 3s);
    EXPECT_LT(m_clock.now(), sent + 3s + AppLink::pollInterval);
}

TEST_F(AppLinkTests, RunningCopyIsTheFirstListedProcessOfTheBundleIdentifier) {
    const auto notes = link();
    EXPECT_FALSE(notes.runningCopy());

    runningBundle("Other.app", "com.example.Other");
    const auto first = runningBundle("Copies/One/Notes.app", "com.example.Notes");
    runningBundle("Copies/Two/Notes.app", "com.example.Notes");
    m_platform.running.push_back(m_scratch.path() / "Gone.app");

    const auto copy = notes.runningCopy();
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->bundleURL, first);
    EXPECT_EQ(copy->processIdentifier, m_platform.firstProcessID + 1);
}

TEST_F(AppLinkTests, WithoutARunningCopyTheLanguageIsStoredForTheNextLaunch) {
    const auto notes = link();
    testing::FakeCompanion companion(m_bus, m_clock, notes);

    EXPECT_TRUE(notes.setLanguage("de"));
    EXPECT_EQ(defaults().string("OrvelLanguage"), "de");
    EXPECT_TRUE(notes.setLanguage(std::nullopt));
    EXPECT_FALSE(defaults().value("OrvelLanguage"));
    EXPECT_TRUE(notes.setLanguage("fr"));
    EXPECT_TRUE(notes.setLanguage(""));
    EXPECT_FALSE(defaults().value("OrvelLanguage"));

    EXPECT_TRUE(companion.received.empty());
    EXPECT_EQ(m_clock.pauses, 0);
}

TEST_F(AppLinkTests, AChoiceThatCannotBeStoredIsReportedAsNotMade) {
    // An unreadable defaults file is kept, and an identifier that cannot name a file is not stored.
    const auto file = m_scratch.write("defaults/apps/com.example.Notes.json", "{broken");
    EXPECT_FALSE(link().setLanguage("de"));
    EXPECT_EQ(testing::readBytes(file), "{broken");

    EXPECT_FALSE(link("../escape").setLanguage("de"));
    EXPECT_FALSE(fs::exists(m_scratch.path() / "escape.json"));
    EXPECT_FALSE(fs::exists(m_scratch.path() / "defaults/escape.json"));
}

// Whatever an app calls itself, its choice never lands in the application's own settings, which share
// the settings folder.
TEST_F(AppLinkTests, AnAppsDefaultsNeverShareAFileWithTheApplicationsOwnSettings) {
    const fs::path settings = m_scratch.path() / "defaults";
    const std::vector<std::string> bundleIDs{"Orvel", "com.example.Notes", "apps"};
    for (const std::string& bundleID : bundleIDs) {
        SCOPED_TRACE(bundleID);
        const auto own = DefaultsStore::open(bundleID, settings);
        ASSERT_TRUE(own);
        own->set("Kept", std::string("own"));

        EXPECT_TRUE(link(bundleID).setLanguage("de"));

        EXPECT_FALSE(own->value("OrvelLanguage"));
        EXPECT_EQ(own->string("Kept"), "own");
        EXPECT_EQ(link(bundleID).defaults()->string("OrvelLanguage"), "de");
        EXPECT_NE(link(bundleID).defaults()->fileURL().parent_path(), settings);
    }
}

TEST_F(AppLinkTests, ARunningCopyIsAskedAndMustConfirmTheLanguage) {
    runningBundle("Notes.app", "com.example.Notes");
    const auto notes = link();
    testing::FakeCompanion companion(m_bus, m_clock, notes);
    companion.delay = 300ms;
    companion.answer = [&](const Notification& command) {
        const auto code = command.userInfo.at("language").get<std::string>();
        return stateWith(code.empty() ? std::nullopt : std::optional(code));
    };

    EXPECT_TRUE(notes.setLanguage("de"));
    EXPECT_TRUE(notes.setLanguage(std::nullopt));
    ASSERT_EQ(companion.received.size(), 2u);
    EXPECT_EQ(companion.received[0].userInfo, json::parse(R"({"command": "select", "language": "de"})"));
    EXPECT_EQ(companion.received[1].userInfo, json::parse(R"({"command": "select", "language": ""})"));
    EXPECT_FALSE(fs::exists(defaults().fileURL()));
}

TEST_F(AppLinkTests, ARunningCopyThatDoesNotConfirmFailsTheSwitchAfterFourSeconds) {
    runningBundle("Notes.app", "com.example.Notes");
    const auto notes = link();
    testing::FakeCompanion companion(m_bus, m_clock, notes);

    // Never answers.
    Date sent = m_clock.now();
    EXPECT_FALSE(notes.setLanguage("de"));
    EXPECT_GE(m_clock.now(), sent + 4s);

    // Answers "off" with an empty language instead of none, or with another language.
    companion.answer = [&](const Notification&) { return stateWith(""); };
    EXPECT_FALSE(notes.setLanguage(std::nullopt));
    companion.answer = [&](const Notification&) { return stateWith("fr"); };
    EXPECT_FALSE(notes.setLanguage("de"));

    // A language confirmed before the command was sent does not count.
    companion.answer = nullptr;
    companion.publish(stateWith("de", m_clock.now() - 1s));
    EXPECT_FALSE(notes.setLanguage("de"));
}

} // namespace
} // namespace orvel
