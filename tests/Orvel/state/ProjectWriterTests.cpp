#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QObject>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "Orvel/state/ProjectWriter.h"
#include "core/OrvelPaths.h"
#include "core/OrvelProtocol.h"
#include "engine/apps/OverlayWriter.h"
#include "tests/Orvel/state/WorkspaceFixture.h"
#include "tests/support/RecordingFileCalls.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;
using testing::WorkspaceTest;

constexpr const char* openID = "Main\x1FOpen";

// Holds each write's work until the test lets it end, so that the test decides what arrives while a
// write is under way. More than one held at a time would be two writers at once.
struct HeldRunner {
    std::deque<std::function<std::function<void()>()>> held;
    int mostAtOnce = 0;

    ProjectWriter::Runner runner() {
        return [this](QObject*, std::function<std::function<void()>()> work) {
            held.push_back(std::move(work));
            mostAtOnce = std::max(mostAtOnce, static_cast<int>(held.size()));
        };
    }
    // The write under way ends, and its answer reaches the main thread.
    void finishOne() {
        ASSERT_FALSE(held.empty());
        auto work = std::move(held.front());
        held.pop_front();
        if (std::function<void()> then = work())
            then();
    }
};

std::optional<std::string> storedText(const TranslationProject& project) {
    const auto found = project.translations.find(openID);
    return found == project.translations.end() ? std::nullopt : found->second.text;
}

class ProjectWriterTest : public WorkspaceTest {
  protected:
    // The app in a home that no earlier case wrote into.
    TranslatableApp freshApp() {
        fs::remove_all(scratch.path() / "home");
        return makeApp();
    }

    // A processor clock by which every write kept the thread it runs on busy for `perWrite`, and the
    // thread its overlay is published on for nothing: the write's thread reads it as the write begins
    // and as it ends. The writes run on this thread.
    static ProjectWriter::BusyClock busyFor(std::chrono::nanoseconds perWrite) {
        auto readings = std::make_shared<int>(0);
        return [readings, perWrite, writes = std::this_thread::get_id()] {
            return std::this_thread::get_id() == writes ? perWrite * (*readings)++
                                                        : std::chrono::nanoseconds(0);
        };
    }

    ProjectWriter::Write write(const std::string& language, const std::string& text, bool overlay) {
        TranslationProject project;
        project.app = bundleID;
        project.language = language;
        StringTranslation translation = testing::translated(text);
        // The overlay takes only translations of the app's current English.
        translation.source = "Open";
        project.translations.emplace(openID, std::move(translation));
        ProjectWriter::Write made;
        made.project = std::make_shared<const TranslationProject>(std::move(project));
        if (overlay)
            made.overlayStrings = std::make_shared<const std::vector<SourceString>>(
                std::vector<SourceString>{testing::sourceString("Open", "Open")});
        return made;
    }
};

// Steps: "w <language> <text>" asks for a project and overlay write, "p <language> <text>" for the
// project file alone, "l <language> <text>" changes the state that a write made when it starts copies
// and asks for one, "f" lets the write under way end, "d" drains.
TEST_F(ProjectWriterTest, WritesAreMadeOneAtATimeAndTheNewestWaitingStateIsWrittenOnce) {
    struct Case {
        const char* name;
        std::vector<std::string> steps;
        int writesMade;
        // Language to the text its project file holds at the end.
        std::map<std::string, std::string> projectOnDisk;
        // Language to the text its overlay holds at the end; a language missing here has none.
        std::map<std::string, std::string> overlayOnDisk;
        int told;
        // How often a state was copied for a write made when it starts.
        int copies = 0;
    };
    const std::vector<Case> cases{
        {"one write", {"w de 1", "f"}, 1, {{"de", "1"}}, {{"de", "1"}}, 1},
        {"batches arriving during a save are written together by the next one",
         {"w de 1", "w de 2", "w de 3", "w de 4", "f", "f"},
         2,
         {{"de", "4"}},
         {{"de", "4"}},
         4},
        {"the end after the last batch writes once more",
         {"w de 1", "f", "w de 2", "w de end", "f", "f"},
         3,
         {{"de", "end"}},
         {{"de", "end"}},
         3},
        {"a project-only save joined with a publish still writes the overlay",
         {"w de 1", "w de 2", "p de 3", "f", "f"},
         2,
         {{"de", "3"}},
         {{"de", "3"}},
         3},
        {"a project-only save writes no overlay", {"p de 1", "f"}, 1, {{"de", "1"}}, {}, 1},
        {"waiting writes of two languages are both made, in the order asked for",
         {"w de 1", "w fr 1", "w de 2", "f", "f", "f"},
         3,
         {{"de", "2"}, {"fr", "1"}},
         {{"de", "2"}, {"fr", "1"}},
         3},
        {"a drain waits for the write under way and makes the waiting one at once",
         {"w de 1", "w de 2", "d"},
         2,
         {{"de", "2"}},
         {{"de", "2"}},
         2},
        {"a state that changes during a write is copied once, when its write starts",
         {"w de 1", "l de 2", "l de 3", "l de 4", "f", "f"},
         2,
         {{"de", "4"}},
         {{"de", "4"}},
         4,
         1},
        {"a state asked for while nothing is written is copied at once",
         {"l de 1", "l de 2", "f", "f"},
         2,
         {{"de", "2"}},
         {{"de", "2"}},
         2,
         2},
        {"a drain copies the waiting state",
         {"w de 1", "l de 2", "d"},
         2,
         {{"de", "2"}},
         {{"de", "2"}},
         2,
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TranslatableApp app = freshApp();
        QObject receiver;
        HeldRunner held;
        int told = 0;
        int copies = 0;
        std::map<std::string, std::string> state;
        {
            ProjectWriter writer(&receiver, app, held.runner());
            for (const std::string& step : c.steps) {
                if (step == "f") {
                    held.finishOne();
                } else if (step == "d") {
                    // The write under way ends on its worker while the main thread waits.
                    ASSERT_EQ(held.held.size(), 1u);
                    std::function<std::function<void()>()> work = std::move(held.held.front());
                    held.held.pop_front();
                    std::function<void()> lateAnswer;
                    std::thread worker([&] { lateAnswer = work(); });
                    writer.drain();
                    worker.join();
                    // The answer that arrives after the drain took the outcome changes nothing.
                    lateAnswer();
                } else {
                    const std::string language = step.substr(2, 2);
                    const auto done = [&](const std::optional<std::string>& failure) {
                        EXPECT_EQ(failure, std::nullopt);
                        ++told;
                    };
                    if (step[0] == 'l') {
                        state[language] = step.substr(5);
                        writer.writeLatest(
                            language,
                            [&, language]() -> std::optional<ProjectWriter::Write> {
                                ++copies;
                                return write(language, state[language], true);
                            },
                            done);
                    } else {
                        writer.write(write(language, step.substr(5), step[0] == 'w'), done);
                    }
                }
            }
            EXPECT_TRUE(writer.idle());
            EXPECT_EQ(writer.writesMade(), c.writesMade);
        }
        EXPECT_EQ(held.mostAtOnce, 1);
        EXPECT_EQ(told, c.told);
        EXPECT_EQ(copies, c.copies);
        for (const auto& [language, text] : c.projectOnDisk)
            EXPECT_EQ(storedText(TranslationProject::load(app, language)), text) << language;
        for (const std::string language : {"de", "fr"}) {
            const auto expected = c.overlayOnDisk.find(language);
            const fs::path folder = OrvelPaths::lproj(language, app.dataFolder());
            const fs::path record = folder / OrvelProtocol::languageFile;
            if (expected == c.overlayOnDisk.end()) {
                EXPECT_FALSE(fs::exists(record)) << language;
                continue;
            }
            EXPECT_EQ(storedText(OverlayWriter::read(app, language)), expected->second) << language;
            // The language record, which the companion waits for, is written after the tables.
            for (const fs::directory_entry& entry : fs::directory_iterator(folder))
                EXPECT_LE(fs::last_write_time(entry.path()), fs::last_write_time(record)) << entry.path();
        }
    }
}

// Whoever waits for the disk to hold every write asked for (the end of a run) is told once the last of
// them is made, and a paced write resting after a long one is made at once for it. Steps: "w <language>
// <text>" asks for a write, "r <language> <text>" for a paced one, "f" lets the write under way end.
TEST_F(ProjectWriterTest, AfterWritesIsToldOnceTheLastWriteAskedForIsMade) {
    struct Case {
        const char* name;
        std::vector<std::string> steps;
        // Writes that end after the request before it is told.
        int writesUntilTold;
    };
    const std::vector<Case> cases{
        {"nothing under way is told at once", {}, 0},
        {"nothing under way after a write is told at once", {"w de 1", "f"}, 0},
        {"the write under way is waited for", {"w de 1"}, 1},
        {"every waiting write is waited for", {"w de 1", "w fr 1", "w de 2"}, 3},
        {"a paced write resting after a long one is made at once", {"w de 1", "r de 2", "f"}, 1},
        {"a paced write waiting behind one under way is waited for", {"w de 1", "r de 2"}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TranslatableApp app = freshApp();
        QObject receiver;
        HeldRunner held;
        // Every write kept its core busy for long: a paced one after it rests.
        ProjectWriter writer(&receiver, app, held.runner(), busyFor(std::chrono::seconds(5)));
        std::map<std::string, std::string> asked;
        for (const std::string& step : c.steps) {
            if (step == "f") {
                held.finishOne();
                continue;
            }
            asked[step.substr(2, 2)] = step.substr(5);
            writer.write(write(step.substr(2, 2), step.substr(5), true), {},
                         step[0] == 'r' ? ProjectWriter::Pace::afterRest : ProjectWriter::Pace::atOnce);
        }
        bool told = false;
        writer.afterWrites([&] {
            // Everything asked for is on disk by now.
            for (const auto& [language, text] : asked)
                EXPECT_EQ(storedText(TranslationProject::load(app, language)), text) << language;
            told = true;
        });
        EXPECT_FALSE(writer.resting());
        for (int write = 0; write < c.writesUntilTold; ++write) {
            EXPECT_FALSE(told) << "after " << write << " writes";
            ASSERT_EQ(held.held.size(), 1u);
            held.finishOne();
        }
        EXPECT_TRUE(told);
        EXPECT_TRUE(writer.idle());
    }
}

// The overlay of every write is made for the strings that write names, though a run's writes, all made
// for the same strings, index them once. Steps of one writer, in order.
TEST_F(ProjectWriterTest, EachWritesOverlayFollowsTheStringsItIsMadeFor) {
    const auto stringsWith = [](const std::string& english) {
        return std::make_shared<const std::vector<SourceString>>(
            std::vector<SourceString>{testing::sourceString("Open", english)});
    };
    const auto first = stringsWith("Open");
    const auto reworded = stringsWith("Open now");
    struct Step {
        const char* name;
        std::string text;
        // The English the translation was made from.
        std::string source;
        std::shared_ptr<const std::vector<SourceString>> strings;
        // More of a run's writes follow.
        bool keep;
        std::optional<std::string> published;
    };
    const std::vector<Step> steps{
        {"a run's first write", "1", "Open", first, true, "1"},
        {"a later write of the run for the same strings", "2", "Open", first, true, "2"},
        {"a write for reworded strings leaves the older translation out", "3", "Open", reworded, true,
         std::nullopt},
        {"and publishes one of their English", "4", "Open now", reworded, false, "4"},
        {"a write after the run for the first strings", "5", "Open", first, false, "5"},
        {"a run's write for other strings than the last", "6", "Open", reworded, true, std::nullopt},
    };
    const TranslatableApp app = freshApp();
    QObject receiver;
    HeldRunner held;
    ProjectWriter writer(&receiver, app, held.runner());
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        auto project = std::make_shared<TranslationProject>();
        project->app = bundleID;
        project->language = "de";
        StringTranslation translation = testing::translated(step.text);
        translation.source = step.source;
        project->translations.emplace(openID, std::move(translation));
        ProjectWriter::Write made{nullptr, step.strings};
        made.update = ProjectWriter::Update{"de", project, {}, std::nullopt, step.keep};
        writer.write(std::move(made), {});
        held.finishOne();
        EXPECT_EQ(storedText(TranslationProject::load(app, "de")), step.text);
        EXPECT_EQ(storedText(OverlayWriter::read(app, "de")), step.published);
    }
}

TEST_F(ProjectWriterTest, AFailedWriteTellsEveryRequestItCoveredAndTheWriterGoesOn) {
    const TranslatableApp app = makeApp();
    QObject receiver;
    HeldRunner held;
    ProjectWriter writer(&receiver, app, held.runner());
    std::vector<std::optional<std::string>> outcomes;
    const auto record = [&](const std::optional<std::string>& failure) { outcomes.push_back(failure); };
    // A regular file where the project folder belongs.
    fs::create_directories(app.projectFolder().parent_path());
    StringsFiles::writeAtomically("in the way", app.projectFolder());
    writer.write(write("de", "1", true), record);
    writer.write(write("de", "2", true), record);
    writer.write(write("de", "3", true), record);
    held.finishOne();
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_TRUE(outcomes[0]);
    fs::remove(app.projectFolder());
    held.finishOne();
    ASSERT_EQ(outcomes.size(), 3u);
    EXPECT_EQ(outcomes[1], std::nullopt);
    EXPECT_EQ(outcomes[2], std::nullopt);
    EXPECT_EQ(storedText(TranslationProject::load(app, "de")), "3");
}

// A write that kept its core busy rests as long before the next paced one; the person's writes, a drain
// and the end do not wait for the rest, and a short write is followed by none.
TEST_F(ProjectWriterTest, AWriteThatKeptItsCoreBusyRestsAsLongBeforeTheNextPacedOne) {
    using std::chrono::milliseconds;
    using Pace = ProjectWriter::Pace;
    struct Case {
        const char* name;
        milliseconds busyPerWrite;
        // How the second write is asked for, and whether a third, made at once, joins it.
        Pace second;
        bool joinedAtOnce;
        bool drainDuringTheRest;
        bool restsAfterTheFirst;
    };
    const std::vector<Case> cases{
        {"a short write is followed at once", milliseconds(5), Pace::afterRest, false, false, false},
        {"a write just under the floor is followed at once", ProjectWriter::restFrom - milliseconds(1),
         Pace::afterRest, false, false, false},
        {"a long write rests as long before a paced one", milliseconds(120), Pace::afterRest, false, false,
         true},
        {"a write made at once does not rest", milliseconds(5000), Pace::atOnce, false, false, false},
        {"a write made at once joining a paced one ends the wait", milliseconds(5000), Pace::afterRest, true,
         false, false},
        {"a drain during the rest writes at once", milliseconds(5000), Pace::afterRest, false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TranslatableApp app = freshApp();
        QObject receiver;
        HeldRunner held;
        ProjectWriter writer(&receiver, app, held.runner(), busyFor(c.busyPerWrite));
        writer.write(write("de", "1", true), {});
        writer.write(write("de", "2", true), {}, c.second);
        QElapsedTimer clock;
        clock.start();
        held.finishOne();
        if (c.joinedAtOnce) {
            EXPECT_TRUE(writer.resting());
            writer.write(write("de", "3", true), {});
        }
        const std::string last = c.joinedAtOnce ? "3" : "2";
        EXPECT_EQ(writer.resting(), c.restsAfterTheFirst);
        EXPECT_EQ(held.held.size(), c.restsAfterTheFirst ? 0u : 1u);
        if (c.drainDuringTheRest) {
            writer.drain();
            EXPECT_TRUE(writer.idle());
            EXPECT_FALSE(writer.resting());
            EXPECT_EQ(storedText(TranslationProject::load(app, "de")), last);
            EXPECT_LT(clock.elapsed(), c.busyPerWrite.count());
            continue;
        }
        while (held.held.empty() && clock.elapsed() < 10'000)
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
        ASSERT_EQ(held.held.size(), 1u);
        if (c.restsAfterTheFirst) {
            EXPECT_GE(clock.elapsed(), c.busyPerWrite.count());
        }
        EXPECT_FALSE(writer.resting());
        held.finishOne();
        EXPECT_EQ(storedText(TranslationProject::load(app, "de")), last);
    }
}

// The end of a run writes what changed since the write before it, and is told of the copy it writes,
// for the checks. When the write before took everything and its files are on disk, the end writes
// nothing again; every other end writes.
TEST_F(ProjectWriterTest, AnEndThatFindsNothingUnwrittenWritesNoFileAndTellsOfTheCopy) {
    const auto strings = [](const std::string& english) {
        return std::make_shared<const std::vector<SourceString>>(
            std::vector<SourceString>{testing::sourceString("Open", english)});
    };
    struct Case {
        const char* name;
        // The text the end sets; none leaves the translation as the run's write made it.
        std::optional<std::string> changed;
        // The end records the English.
        bool records;
        bool sameStrings;
        bool runsWriteFails;
        bool projectWritten;
        bool overlayWritten;
    };
    const Case cases[] = {
        {"nothing changed since the run's write", std::nullopt, false, true, false, false, false},
        {"a translation changed since", "2", false, true, false, true, true},
        {"the overlay is for other strings", std::nullopt, false, false, false, true, true},
        {"the run's write failed", std::nullopt, false, true, true, true, true},
        {"only the English recorded since", std::nullopt, true, true, false, true, false},
        {"the English recorded and a translation changed", "2", true, true, false, true, true},
        {"the English recorded, the overlay for other strings", std::nullopt, true, false, false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TranslatableApp app = freshApp();
        QObject receiver;
        HeldRunner held;
        ProjectWriter writer(&receiver, app, held.runner());
        const auto first = strings("Open");
        auto project = std::make_shared<TranslationProject>();
        project->app = bundleID;
        project->language = "de";
        StringTranslation translation = testing::translated("1");
        translation.source = "Open";
        project->translations.emplace(openID, translation);
        ProjectWriter::Write run{nullptr, first};
        run.update = ProjectWriter::Update{"de", project, {}, std::nullopt, true};
        if (c.runsWriteFails) {
            fs::create_directories(app.projectFolder().parent_path());
            StringsFiles::writeAtomically("in the way", app.projectFolder());
        }
        writer.write(std::move(run), {});
        held.finishOne();

        ProjectWriter::Write end{nullptr, c.sameStrings ? first : strings("Open")};
        end.update = ProjectWriter::Update{"de", nullptr, {}, std::nullopt, false};
        if (c.changed) {
            translation.text = c.changed;
            end.update->changes.translations.emplace(openID, translation);
        }
        if (c.records)
            end.update->changes.recorded =
                ProjectDelta::Recorded{std::map<std::string, std::string>{{openID, "Open"}}, "2.0"};
        std::shared_ptr<const TranslationProject> told;
        end.update->written = [&](std::shared_ptr<const TranslationProject> copy) { told = std::move(copy); };
        bool done = false;
        std::optional<std::string> failed;
        writer.write(std::move(end), [&](const std::optional<std::string>& failure) {
            done = true;
            failed = failure;
        });
        if (c.runsWriteFails)
            fs::remove(app.projectFolder());
        {
            testing::RecordingFileCalls recorder;
            held.finishOne();
            const auto made = [&](const std::string& file) {
                return std::ranges::count(recorder.calls(), "create " + file) == 1;
            };
            EXPECT_EQ(made("de.json"), c.projectWritten);
            EXPECT_EQ(made("Main.strings"), c.overlayWritten);
        }
        EXPECT_TRUE(done);
        EXPECT_EQ(failed, std::nullopt);
        ASSERT_TRUE(told);
        EXPECT_EQ(storedText(*told), c.changed.value_or("1"));
    }
}

} // namespace
} // namespace orvel
