#include <gtest/gtest.h>

#include "core/Cancellation.h"
#include "core/Markers.h"
#include "core/OrvelPaths.h"
#include "core/StringsFiles.h"
#include "engine/apps/TranslationProject.h"
#include "engine/capture/CaptureError.h"
#include "engine/capture/ContextCapture.h"
#include "engine/capture/InMemoryNotificationBus.h"
#include "tests/engine/apps/BundleBuilder.h"
#include "tests/engine/apps/FakeAppPlatform.h"
#include "tests/engine/capture/FakeAccessibility.h"
#include "tests/engine/capture/LiveFakes.h"
#include "tests/support/ScratchFolder.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Frame = std::vector<double>;
using Texts = std::vector<std::string>;

const Date start{std::chrono::seconds(1'700'000'000)};
constexpr pid_t firstPid = 500;
const char* const catalog = R"({"sourceLanguage": "en", "strings": {"Open": {}, "Save": {}, "Print": {}}})";

std::string id(const std::string& key) {
    return SourceString::id("Main", key);
}

AXNode window(std::string title, std::vector<AXNode> children) {
    return AXNode{.role = "AXWindow", .title = std::move(title), .children = std::move(children)};
}

AXNode text(std::string shown, Frame frame = {0, 0, 80, 20}) {
    return AXNode{.role = "AXStaticText", .value = std::move(shown), .frame = std::move(frame)};
}

// A running app with the companion, its windows and its answers; every test row gets its own.
class Scenario {
  public:
    Scenario() {
        OrvelPaths::setHomeOverride(m_scratch.path() / "home");
        const fs::path bundle =
            testing::makeBundle(m_scratch, "Apps/Notes.app",
                                {{"CFBundleIdentifier", "com.example.Notes"}, {"CFBundleName", "Notes"}},
                                {{"Main.xcstrings", catalog}});
        m_app = *TranslatableApp::open(bundle, m_platform);
        m_platform.running.push_back(bundle);
        m_companion.emplace(m_bus, m_clock, AppLink{m_app, m_services});
        m_companion->answer = [this](const Notification& command) { return answer(command); };
        showWindows(firstPid, {window("Main", {text("Open"), text("Unclaimed words")})});
    }
    ~Scenario() { OrvelPaths::setHomeOverride(std::nullopt); }
    Scenario(const Scenario&) = delete;
    Scenario& operator=(const Scenario&) = delete;

    // The app's windows from now on.
    void showWindows(pid_t pid, const std::vector<AXNode>& windows) {
        std::vector<FakeAXElement*> elements;
        for (const AXNode& tree : windows)
            elements.push_back(&m_accessibility.build(tree));
        FakeAXPlatform::setChildren(m_accessibility.applications[pid], elements, "AXWindows");
    }

    // A companion that turns markers on and off, opens screens and says hello, each with its own state.
    std::optional<AppState> answer(const Notification& command) {
        const std::string name = command.userInfo.value("command", "");
        if (name == "probe" && command.userInfo.value("on", false) && probeAnswer) {
            m_state = *probeAnswer;
            m_state.probe = true;
            return m_state;
        }
        if (name == "probe" && !command.userInfo.value("on", true)) {
            m_state.probe = false;
            return m_state;
        }
        if (name == "show") {
            auto screen = screenWindows.find(command.userInfo.value("screen", ""));
            showWindows(firstPid, screen == screenWindows.end() ? std::vector<AXNode>{} : screen->second);
        }
        if (name == "hello" && helloAnswer)
            return *helloAnswer;
        return std::nullopt;
    }

    ContextCapture::Result capture(bool visitScreens = true, std::stop_token stop = {}) {
        return ContextCapture::capture(
            m_app, visitScreens, [this](const std::string& text) { progress.push_back(text); },
            ContextCapture::Services{.live = m_services, .accessibility = m_accessibility}, stop);
    }

    // "screen · role" of each occurrence of the id.
    static Texts places(const ContextCapture::Result& result, const std::string& stringID) {
        Texts out;
        auto found = result.map.occurrences.find(stringID);
        if (found != result.map.occurrences.end())
            for (const Occurrence& occurrence : found->second)
                out.push_back(occurrence.screen + " · " + occurrence.role);
        return out;
    }

    Texts commands() const {
        Texts out;
        for (const Notification& command : m_companion->received)
            out.push_back(command.userInfo.dump());
        return out;
    }

    testing::ScratchFolder m_scratch;
    InMemoryNotificationBus m_bus;
    testing::FakeAppPlatform m_platform;
    testing::FakeLiveClock m_clock{start};
    FakeAXPlatform m_accessibility;
    LiveServices m_services{
        .bus = m_bus, .platform = m_platform, .clock = m_clock, .defaultsFolder = std::nullopt};
    TranslatableApp m_app;
    std::optional<testing::FakeCompanion> m_companion;

    std::optional<AppState> probeAnswer = AppState{};
    std::optional<AppState> helloAnswer;
    std::map<std::string, std::vector<AXNode>> screenWindows;
    Texts progress;

  private:
    AppState m_state;
};

std::string command(const std::string& name, const std::string& extra = "") {
    return R"({"command":")" + name + "\"" + extra + "}";
}

TEST(ContextCaptureTests, FailuresStopTheRunWithTheirMessage) {
    struct Case {
        std::string name;
        std::function<void(Scenario&)> setup;
        CaptureError::Kind kind;
        std::string message;
        Texts commands;
    };
    const std::vector<Case> cases{
        {"trust is checked before anything else",
         [](Scenario& s) {
             s.m_accessibility.trusted = false;
             s.m_platform.running.clear();
         },
         CaptureError::Kind::notTrusted,
         "Accessibility access is off for this translator",
         {}},
        {"no running copy",
         [](Scenario& s) { s.m_platform.running.clear(); },
         CaptureError::Kind::notRunning,
         "The app is not running",
         {}},
        {"another copy without the companion runs first",
         [](Scenario& s) {
             const fs::path other = testing::makeBundle(s.m_scratch, "Old/Notes.app",
                                                        {{"CFBundleIdentifier", "com.example.Notes"}}, {});
             s.m_platform.running.insert(s.m_platform.running.begin(), other);
         },
         CaptureError::Kind::otherCopyRunning,
         "",
         {}},
        {"no companion answers within five seconds",
         [](Scenario& s) { s.probeAnswer.reset(); },
         CaptureError::Kind::noAnswer,
         "The app did not answer. It may not use OrvelKit, or it is an older version.",
         {command("probe", R"(,"on":true)"), command("probe", R"(,"on":false)")}},
        {"a stale state with markers on is not an answer",
         [](Scenario& s) {
             AppState stale;
             stale.probe = true;
             stale.updated = start - 20ms;
             s.m_companion->publish(stale);
             s.probeAnswer.reset();
         },
         CaptureError::Kind::noAnswer,
         "The app did not answer. It may not use OrvelKit, or it is an older version.",
         {command("probe", R"(,"on":true)"), command("probe", R"(,"on":false)")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Scenario scenario;
        c.setup(scenario);
        try {
            scenario.capture();
            ADD_FAILURE() << "the capture succeeded";
        } catch (const CaptureError& error) {
            EXPECT_EQ(error.kind(), c.kind);
            const std::string expected =
                c.kind == CaptureError::Kind::otherCopyRunning
                    ? "The running copy is " + (scenario.m_scratch.path() / "Old/Notes.app").string() +
                          ", which does not include Orvel. Quit it and open the build you want to check."
                    : c.message;
            EXPECT_EQ(error.what(), expected);
        }
        EXPECT_EQ(scenario.commands(), c.commands);
        if (c.kind == CaptureError::Kind::noAnswer) {
            EXPECT_GE(scenario.m_clock.now() - start, ContextCapture::probeTimeout);
        }
    }
}

TEST(ContextCaptureTests, ARunningCopyElsewhereIsCapturedWhenItIsTranslatable) {
    struct Case {
        std::string name;
        std::function<fs::path(Scenario&)> runningBundle;
    };
    const std::vector<Case> cases{
        {"another translatable build",
         [](Scenario& s) {
             return testing::makeBundle(s.m_scratch, "Build/Notes.app",
                                        {{"CFBundleIdentifier", "com.example.Notes"}},
                                        {{"Main.xcstrings", catalog}});
         }},
        {"the same bundle spelled another way, no longer translatable",
         [](Scenario& s) {
             fs::remove_all(s.m_app.bundleURL / "Contents/Resources/Orvel/Main.xcstrings");
             return s.m_scratch.path() / "Apps/./Notes.app/";
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Scenario scenario;
        scenario.m_platform.running = {c.runningBundle(scenario)};
        scenario.m_platform.firstProcessID = 700;
        scenario.showWindows(700, {window("Elsewhere", {text("Open")})});
        EXPECT_EQ(scenario.capture().screens, Texts{"Elsewhere"});
    }
}

TEST(ContextCaptureTests, VisitsEveryScreenAndReadsWhatItShows) {
    Scenario scenario;
    scenario.probeAnswer->screens = {{"prefs", "Preferences"}, {"empty", "Empty"}, {"gone", "Gone"}};
    scenario.probeAnswer->markers = {{"1", {"Main", "Print"}}};
    scenario.showWindows(firstPid,
                         {window(Markers::encode(1) + "Main", {text("Open"), text("Unclaimed words")})});
    scenario.screenWindows["prefs"] = {window("Prefs window", {text("Save")}),
                                       window("Inspector", {text("Print")})};
    scenario.screenWindows["empty"] = {AXNode{.role = "AXWindow", .title = "Blank", .label = "Open"}};
    AXNode bar{.role = "AXMenuBar", .children = {AXNode{.role = "AXMenuBarItem", .title = "Open"}}};
    scenario.m_accessibility.applications[firstPid].attributes["AXMenuBar"] =
        FakeAXPlatform::ref(scenario.m_accessibility.build(bar));
    scenario.helloAnswer = *scenario.probeAnswer;
    scenario.helloAnswer->seen = {{"Main", "Open"}};

    const ContextCapture::Result result = scenario.capture();

    EXPECT_EQ(result.screens, (Texts{"Main", "Preferences", "Empty", "Gone"}));
    EXPECT_EQ(result.unreadable, (Texts{"Empty", "Gone"}));
    EXPECT_EQ(Scenario::places(result, id("Open")),
              (Texts{"Print · text", "Empty · window", "Menu bar · menu bar title"}));
    EXPECT_EQ(Scenario::places(result, id("Save")), Texts{"Preferences · text"});
    // A window's own title is one of its texts.
    EXPECT_EQ(Scenario::places(result, id("Print")), (Texts{"Print · window", "Inspector · text"}));
    EXPECT_EQ(result.seen, (std::vector<Texts>{{"Main", "Open"}}));
    EXPECT_EQ(result.unkeyed, (std::map<std::string, Texts>{{"Empty", {"Blank"}},
                                                            {"Inspector", {"Inspector"}},
                                                            {"Main", {"Unclaimed words"}},
                                                            {"Preferences", {"Prefs window"}}}));
    EXPECT_EQ(scenario.progress,
              (Texts{"Turning on markers", "Opening Preferences", "Opening Empty", "Opening Gone"}));
    EXPECT_EQ(
        scenario.commands(),
        (Texts{command("probe", R"(,"on":true)"), command("refresh"), command("show", R"(,"screen":"prefs")"),
               command("show", R"(,"screen":"empty")"), command("show", R"(,"screen":"gone")"),
               command("hello"), command("probe", R"(,"on":false)")}));
    EXPECT_GE(scenario.m_clock.now() - start, ContextCapture::settlePause + 3 * ContextCapture::screenPause);
}

// An app that answers the protocol while its interface cannot be read gave nothing to learn from: the run
// fails, saying why, instead of returning an empty map.
TEST(ContextCaptureTests, ARunThatReadNoWindowSaysWhy) {
    struct Case {
        std::string name;
        bool visitScreens;
        std::vector<AXNode> firstWindows;
        std::map<std::string, std::vector<AXNode>> screenWindows;
        std::function<void(Scenario&)> setup;
        CaptureError::Kind kind;
        std::string message;
    };
    const AXNode bare{.role = "AXWindow", .title = "Open"};
    const std::string noTree =
        "The app answered, but its windows show nothing to accessibility: it was probably "
        "opened before accessibility was turned on. Quit the app, open it again, then "
        "capture again.";
    const auto nothing = [](Scenario&) {};
    const std::vector<Case> cases{
        {"no window anywhere", true, {}, {}, nothing, CaptureError::Kind::noAccessibilityTree, noTree},
        {"windows without elements on every screen",
         true,
         {bare},
         {{"prefs", {bare}}, {"more", {bare}}},
         nothing,
         CaptureError::Kind::noAccessibilityTree,
         noTree},
        {"no window at the start and no screens visited",
         false,
         {},
         {{"prefs", {window("P", {text("Open")})}}},
         nothing,
         CaptureError::Kind::noAccessibilityTree,
         noTree},
        {"the process is not on the accessibility bus",
         true,
         {},
         {},
         [](Scenario& s) { s.m_accessibility.applications.clear(); },
         CaptureError::Kind::noAccessibilityTree,
         noTree},
        {"the app quit after answering the probe",
         true,
         {},
         {},
         [](Scenario& s) {
             s.m_companion->answer = [&s, answer = s.m_companion->answer](const Notification& command) {
                 s.m_platform.running.clear();
                 return answer(command);
             };
         },
         CaptureError::Kind::notRunning,
         "The app is not running"},
        {"the app stopped answering the reads",
         true,
         {},
         {},
         [](Scenario& s) { s.m_accessibility.applications[firstPid].cutRead = true; },
         CaptureError::Kind::stoppedAnswering,
         "The app stopped answering while its windows were read. Capture again once it responds."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Scenario scenario;
        scenario.probeAnswer->screens = {{"prefs", "Preferences"}, {"more", "More"}};
        scenario.showWindows(firstPid, c.firstWindows);
        scenario.screenWindows = c.screenWindows;
        c.setup(scenario);
        try {
            scenario.capture(c.visitScreens);
            ADD_FAILURE() << "a capture that read nothing succeeded";
        } catch (const CaptureError& error) {
            EXPECT_EQ(error.kind(), c.kind);
            EXPECT_EQ(error.what(), c.message);
        }
        const Texts commands = scenario.commands();
        ASSERT_GE(commands.size(), 2u);
        EXPECT_EQ(commands.back(), command("probe", R"(,"on":false)"));
        // An app that quit is not asked for its state.
        if (!scenario.m_platform.running.empty()) {
            EXPECT_EQ(commands[commands.size() - 2], command("hello"));
        }
    }
}

// An app that quits is noticed within about a second whatever the run waits for: with nothing read the
// run fails as for an app that does not run; otherwise what was read is kept and the screens it could not
// read are named.
TEST(ContextCaptureTests, AnAppThatQuitsDuringTheRunIsNoticedAtOnce) {
    struct Case {
        std::string name;
        // The command at whose arrival the app quits, and the screen it names.
        std::string quitsAt;
        std::string screen;
        std::optional<CaptureError::Kind> failure;
        Texts partial;
        Texts places;
    };
    const std::vector<Case> cases{
        {"killed before it turns its markers on", "probe", "", CaptureError::Kind::notRunning, {}, {}},
        {"quits while its texts settle", "refresh", "", CaptureError::Kind::notRunning, {}, {}},
        {"quits as its first screen opens", "show", "prefs", std::nullopt, {"Preferences", "More"}, {"Open"}},
        {"quits as its second screen opens", "show", "more", std::nullopt, {"More"}, {"Open", "Save"}},
    };
    const std::chrono::milliseconds soon = ContextCapture::processWatchInterval * 3;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Scenario scenario;
        scenario.probeAnswer->screens = {{"prefs", "Preferences"}, {"more", "More"}};
        scenario.screenWindows["prefs"] = {window("Prefs window", {text("Save")})};
        scenario.screenWindows["more"] = {window("More window", {text("Print")})};
        std::optional<Date> quitAt;
        scenario.m_companion->answer = [&,
                                        answer = scenario.m_companion->answer](const Notification& command) {
            if (!quitAt && command.userInfo.value("command", "") == c.quitsAt &&
                command.userInfo.value("screen", "") == c.screen) {
                quitAt = scenario.m_clock.now();
                scenario.m_platform.running.clear();
                // Its windows are gone with it.
                scenario.showWindows(firstPid, {});
                scenario.m_accessibility.applications[firstPid].cutRead = true;
                return std::optional<AppState>();
            }
            return answer(command);
        };
        std::optional<ContextCapture::Result> result;
        try {
            result = scenario.capture();
            EXPECT_FALSE(c.failure) << "the capture succeeded";
        } catch (const CaptureError& error) {
            EXPECT_EQ(error.kind(), c.failure);
            EXPECT_EQ(error.what(), std::string("The app is not running"));
        }
        ASSERT_TRUE(quitAt);
        EXPECT_LT(scenario.m_clock.now() - *quitAt, soon);
        EXPECT_EQ(scenario.commands().back(), command("probe", R"(,"on":false)"));
        if (!result)
            continue;
        EXPECT_TRUE(result->appQuit);
        EXPECT_EQ(result->partial, c.partial);
        Texts found;
        for (const auto& [stringID, list] : result->map.occurrences)
            found.emplace_back(SourceString::splitId(stringID).second);
        EXPECT_EQ(found, c.places);
    }
}

// What a cut read found is kept, and the result names the screens it read only in part, as the map
// names them.
TEST(ContextCaptureTests, ScreensReadOnlyInPartAreNamed) {
    struct Case {
        std::string name;
        std::function<void(Scenario&)> setup;
        Texts partial;
    };
    auto manyTexts = [](int count) {
        std::vector<AXNode> out;
        for (int i = 0; i < count; ++i)
            out.push_back(text("Label " + std::to_string(i)));
        return out;
    };
    // A screen whose read the app stops answering halfway through.
    auto stallsOn = [](const std::string& screen) {
        return [screen](Scenario& s) {
            s.m_companion->answer = [&s, screen,
                                     answer = s.m_companion->answer](const Notification& command) {
                auto state = answer(command);
                s.m_accessibility.applications[firstPid].cutRead =
                    command.userInfo.value("screen", "") == screen;
                return state;
            };
        };
    };
    const std::vector<Case> cases{
        {"everything read whole", [](Scenario&) {}, {}},
        {"a window larger than the node budget",
         [&](Scenario& s) {
             s.showWindows(firstPid,
                           {window("Main", {text("Open")}),
                            window(Markers::encode(1) + "Big", manyTexts(ContextCapture::windowNodeLimit))});
         },
         {"Print"}},
        {"a window that exactly fills the budget",
         [&](Scenario& s) {
             s.showWindows(firstPid, {window("Main", manyTexts(ContextCapture::windowNodeLimit - 1))});
         },
         {}},
        {"a menu bar larger than its budget",
         [&](Scenario& s) {
             AXNode bar{.role = "AXMenuBar"};
             for (int i = 0; i < ContextCapture::menuNodeLimit; ++i)
                 bar.children.push_back(
                     AXNode{.role = "AXMenuBarItem", .title = "Menu " + std::to_string(i)});
             s.m_accessibility.applications[firstPid].attributes["AXMenuBar"] =
                 FakeAXPlatform::ref(s.m_accessibility.build(bar));
         },
         {"Menu bar"}},
        {"a visited screen the app stops answering on", stallsOn("prefs"), {"Preferences"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Scenario scenario;
        scenario.probeAnswer->screens = {{"prefs", "Preferences"}};
        scenario.probeAnswer->markers = {{"1", {"Main", "Print"}}};
        scenario.screenWindows["prefs"] = {window("Prefs window", {text("Save")})};
        c.setup(scenario);
        const ContextCapture::Result result = scenario.capture();
        EXPECT_EQ(result.partial, c.partial);
        // What the cut reads found is kept.
        EXPECT_FALSE(result.map.occurrences.empty());
    }
}

TEST(ContextCaptureTests, ScreensAreVisitedOnlyWhenAskedAndListed) {
    struct Case {
        std::string name;
        bool visitScreens;
        std::vector<AppState::Screen> listed;
        Texts screens;
        Texts commands;
    };
    const std::vector<Case> cases{
        {"visiting off",
         false,
         {{"prefs", "Preferences"}},
         {"Main"},
         {command("probe", R"(,"on":true)"), command("refresh"), command("hello"),
          command("probe", R"(,"on":false)")}},
        {"no screens listed",
         true,
         {},
         {"Main"},
         {command("probe", R"(,"on":true)"), command("refresh"), command("hello"),
          command("probe", R"(,"on":false)")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Scenario scenario;
        scenario.probeAnswer->screens = c.listed;
        scenario.showWindows(firstPid,
                             {window(Markers::encode(5) + "Main" + Markers::encode(6), {text("Open")})});
        EXPECT_EQ(scenario.capture(c.visitScreens).screens, c.screens);
        EXPECT_EQ(scenario.commands(), c.commands);
        EXPECT_EQ(scenario.progress, Texts{"Turning on markers"});
    }
}

TEST(ContextCaptureTests, TheFinalStateGivesMarkersSeenAndTheProjectLanguage) {
    struct Case {
        std::string name;
        std::optional<AppState> hello;
        std::optional<std::string> probeLanguage;
        std::string shown;
        Texts foundKeys;
        std::vector<Texts> seen;
    };
    AppState hello;
    hello.markers = {{"7", {"Main", "Print"}}};
    hello.seen = {{"Main", "From hello"}};
    const std::string markedText = Markers::encode(7) + "x";
    const std::vector<Case> cases{
        {"hello answers", hello, std::nullopt, markedText, {"Print"}, {{"Main", "From hello"}}},
        {"hello is silent: the probe answer counts",
         std::nullopt,
         std::nullopt,
         markedText,
         {"Save"},
         {{"Main", "From probe"}}},
        {"a language brings its translations into the index",
         std::nullopt,
         "fr",
         "Ouvrir",
         {"Open"},
         {{"Main", "From probe"}}},
        {"without a language only the English counts",
         std::nullopt,
         std::nullopt,
         "Ouvrir",
         {},
         {{"Main", "From probe"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Scenario scenario;
        TranslationProject project;
        project.app = "com.example.Notes";
        project.language = "fr";
        project.translations[id("Open")].text = "Ouvrir";
        project.save(scenario.m_app);
        scenario.helloAnswer = c.hello;
        scenario.probeAnswer->markers = {{"7", {"Main", "Save"}}};
        scenario.probeAnswer->seen = {{"Main", "From probe"}};
        scenario.probeAnswer->language = c.probeLanguage;
        scenario.showWindows(firstPid, {window("Main", {text(c.shown)})});

        const ContextCapture::Result result = scenario.capture();
        Texts found;
        for (const auto& [stringID, list] : result.map.occurrences)
            found.emplace_back(SourceString::splitId(stringID).second);
        EXPECT_EQ(found, c.foundKeys);
        EXPECT_EQ(result.seen, c.seen);
    }
}

TEST(ContextCaptureTests, AStopEndsTheRunInItsPausesWithTheMarkersTurnedOff) {
    struct Case {
        std::string stopAt;
        Texts commands;
    };
    const std::vector<Case> cases{
        {"Turning on markers",
         {command("probe", R"(,"on":true)"), command("refresh"), command("probe", R"(,"on":false)")}},
        {"Opening Preferences",
         {command("probe", R"(,"on":true)"), command("refresh"), command("show", R"(,"screen":"prefs")"),
          command("probe", R"(,"on":false)")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stopAt);
        Scenario scenario;
        scenario.probeAnswer->screens = {{"prefs", "Preferences"}};
        std::stop_source stop;
        EXPECT_THROW(ContextCapture::capture(
                         scenario.m_app, true,
                         [&](const std::string& text) {
                             if (text == c.stopAt)
                                 stop.request_stop();
                         },
                         ContextCapture::Services{.live = scenario.m_services,
                                                  .accessibility = scenario.m_accessibility},
                         stop.get_token()),
                     CancellationError);
        EXPECT_EQ(scenario.commands(), c.commands);
    }
}

} // namespace
} // namespace orvel
