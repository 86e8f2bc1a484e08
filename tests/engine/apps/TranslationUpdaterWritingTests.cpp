#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <future>
#include <mutex>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/Cancellation.h"
#include "engine/apps/ProjectDelta.h"
#include "tests/engine/apps/UpdaterFixture.h"

namespace orvel::testing {
namespace {

namespace fs = std::filesystem;

// Main: S00 to S15.
std::map<std::string, std::string> sixteenStrings() {
    std::string entries;
    for (int i = 0; i < 16; ++i)
        entries += std::string(i ? ", " : "") + "\"S" + (i < 10 ? "0" : "") + std::to_string(i) + "\": {}";
    return {{"Main.xcstrings", R"({"sourceLanguage": "en", "strings": {)" + entries + "}}"}};
}

class UpdaterWritingTest : public UpdaterTest {
  protected:
    // Every string of the app is new to a project that has recorded nothing yet.
    void everythingNew(const std::map<std::string, std::string>& catalogs) {
        updateApp(catalogs, "2.0");
        resetProject();
        project.sourceText.emplace();
        project.save(app);
        fs::remove_all(overlay());
    }

    // Puts folders where the project file and the language record go, so that neither can be written.
    void blockWrites() {
        fs::remove(projectFile());
        fs::create_directories(projectFile());
        fs::remove(overlay() / "language.json");
        fs::create_directories(overlay() / "language.json");
    }

    void unblockWrites() {
        fs::remove(projectFile());
        fs::remove(overlay() / "language.json");
    }
};

TEST_F(UpdaterWritingTest, MergedResultsStayOnDisk) {
    struct Case {
        std::string name;
        bool parallel;
        std::optional<std::size_t> failAfter;
        std::size_t expectedTranslated;
    };
    const std::vector<Case> cases{
        {"eight batches at once", true, std::nullopt, 16},
        {"the run fails after two batches", false, 2, 4},
        {"the run fails after six batches at once", true, 6, 12},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        everythingNew(sixteenStrings());
        model = {};
        model.batchSize = 2;
        model.parallel = c.parallel;
        model.failAfter = c.failAfter;
        std::mutex lock;
        std::set<std::string> handed;
        int missingOnDisk = 0;
        const auto onResult = [&](const TranslationProject& merged, const TranslationJob::Progress&) {
            // When a result is reported, the disk holds it, never an older copy.
            const TranslationProject onDisk = stored();
            std::lock_guard guard(lock);
            for (const auto& [id, translation] : merged.translations) {
                handed.insert(id);
                missingOnDisk += onDisk.translations.contains(id) ? 0 : 1;
            }
        };

        if (c.failAfter)
            EXPECT_THROW(update(onResult), std::runtime_error);
        else
            update(onResult);

        EXPECT_EQ(missingOnDisk, 0);
        EXPECT_EQ(handed.size(), c.expectedTranslated);
        const TranslationProject after = stored();
        EXPECT_EQ(after.translations.size(), c.expectedTranslated);
        EXPECT_EQ(published("Main").size(), c.expectedTranslated);
        EXPECT_TRUE(fs::exists(overlay() / "language.json"));
        // The English is recorded only when the run went through.
        EXPECT_EQ(after.sourceText->size(), c.failAfter ? 0u : 16u);
    }
}

TEST_F(UpdaterWritingTest, WriteFailuresAfterABatchDoNotStopTheRun) {
    struct Case {
        std::string name;
        bool writableAtTheEnd;
    };
    const std::vector<Case> cases{{"writable again before the end", true},
                                  {"still blocked at the end", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Open, Save, files, moved, Quit.
        everythingNew(generatedCatalogs);
        model = {};
        model.batchSize = 1;
        std::vector<int> reported;
        const auto onResult = [&](const TranslationProject&, const TranslationJob::Progress& progress) {
            reported.push_back(progress.done);
            if (progress.done == 1)
                blockWrites();
            if (progress.done == progress.total && c.writableAtTheEnd)
                unblockWrites();
        };

        if (c.writableAtTheEnd)
            update(onResult);
        else
            EXPECT_THROW(update(onResult), fs::filesystem_error);

        EXPECT_EQ(reported, (std::vector<int>{1, 2, 3, 4, 5}));
        if (c.writableAtTheEnd) {
            EXPECT_EQ(stored().translations.size(), 5u);
            EXPECT_TRUE(fs::is_regular_file(overlay() / "language.json"));
        }
        unblockWrites();
    }
}

// A project its caller holds and writes: the update starts from it as given, writes nothing itself, and
// hands over what each step changed, in order: laid into the held project one after the other, they
// give the whole result.
TEST_F(UpdaterWritingTest, AHeldProjectIsHandedOverInOrderAndNeverWritten) {
    struct Case {
        std::string name;
        bool parallel;
        std::optional<std::size_t> failAfter;
        std::size_t expectedTranslated;
        // Merged results handed over with the run's progress.
        std::size_t expectedWithProgress;
        // Stopped once the changes are handed over, while the key terms are still being chosen.
        bool stoppedDuringTheKeyTerms = false;
    };
    const std::vector<Case> cases{
        {"eight batches at once", true, std::nullopt, 16, 8},
        {"the run fails after three batches", false, 3, 6, 3},
        {"stopped while the key terms are chosen", false, std::nullopt, 0, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        everythingNew(sixteenStrings());
        const std::vector<SourceString> strings = app.loadStrings({});
        const std::string onDisk = readBytes(projectFile());
        model = {};
        model.batchSize = 2;
        model.parallel = c.parallel;
        model.failAfter = c.failAfter;
        // Held by the caller only: an edit not yet written.
        TranslationProject held = project;
        held.terms["Draft"] = "Entwurf";
        std::mutex lock;
        std::vector<ProjectDelta> handed;
        std::size_t withProgress = 0;
        std::stop_source stopping;
        const TranslationUpdater::Handover handover =
            [&](ProjectDelta step, const std::optional<TranslationJob::Progress>& progress) {
                std::lock_guard guard(lock);
                if (c.stoppedDuringTheKeyTerms)
                    stopping.request_stop();
                // A merged result brings its progress and nothing but the translations it put in.
                if (progress) {
                    EXPECT_TRUE(step.retired.empty() && !step.terms && !step.recorded);
                    for (const auto& [id, translation] : step.translations)
                        EXPECT_TRUE(translation.has_value()) << id;
                }
                handed.push_back(std::move(step));
                withProgress += progress ? 1 : 0;
            };
        TranslationUpdater::Pipeline pipeline = model.pipeline();
        if (c.stoppedDuringTheKeyTerms)
            // Chooses until stopped; a stop that never comes leaves it to answer after all.
            pipeline.chooseTerms = [](const TranslationJob& job, const std::vector<SourceString>&,
                                      std::size_t, const std::stop_token& stop) {
                std::mutex waiting;
                std::condition_variable_any wakeup;
                std::unique_lock waitingLock(waiting);
                wakeup.wait_for(waitingLock, stop, std::chrono::seconds(30), [] { return false; });
                throwIfCancelled(stop);
                return job.terms;
            };
        const auto update = [&] {
            return TranslationUpdater::updateHeldProject(app, held, strings, std::nullopt, ModelSettings{},
                                                         false, handover, stopping.get_token(), pipeline);
        };

        if (c.failAfter)
            EXPECT_THROW(update(), std::runtime_error);
        else if (c.stoppedDuringTheKeyTerms)
            EXPECT_THROW(update(), CancellationError);
        else
            update();

        EXPECT_EQ(readBytes(projectFile()), onDisk);
        EXPECT_FALSE(fs::exists(overlay()));
        EXPECT_EQ(withProgress, c.expectedWithProgress);
        ASSERT_FALSE(handed.empty());
        if (c.stoppedDuringTheKeyTerms) {
            EXPECT_EQ(handed.size(), 1u) << "the changes applied, and nothing after the stop";
        }
        TranslationProject rebuilt = held;
        for (const ProjectDelta& step : handed)
            step.applyTo(rebuilt);
        EXPECT_EQ(rebuilt.terms.at("Draft"), "Entwurf");
        EXPECT_EQ(rebuilt.translations.size(), c.expectedTranslated);
        ASSERT_TRUE(rebuilt.sourceText);
        EXPECT_EQ(rebuilt.sourceText->size(), c.failAfter || c.stoppedDuringTheKeyTerms ? 0u : 16u);
    }
}

// A held project its caller is still copying: the key terms are asked for before the copy arrives, and a
// copy that failed ends the update with its error.
TEST_F(UpdaterWritingTest, TheKeyTermsOfAProjectStillBeingCopiedAreAskedForBeforeItArrives) {
    struct Case {
        const char* name;
        bool copyFails;
    };
    const std::vector<Case> cases{{"the copy arrives", false}, {"the copy fails", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        everythingNew(sixteenStrings());
        const std::vector<SourceString> strings = app.loadStrings({});
        model = {};
        model.batchSize = 16;
        std::promise<void> asked;
        TranslationUpdater::Pipeline pipeline = model.pipeline();
        pipeline.chooseTerms = [&asked, choose = pipeline.chooseTerms](
                                   const TranslationJob& job, const std::vector<SourceString>& listed,
                                   std::size_t limit, const std::stop_token& stop) {
            asked.set_value();
            return choose(job, listed, limit, stop);
        };
        std::promise<TranslationProject> copied;
        std::mutex lock;
        std::size_t translated = 0;
        const TranslationUpdater::Handover handover = [&](ProjectDelta step,
                                                          const std::optional<TranslationJob::Progress>&) {
            std::lock_guard guard(lock);
            translated += step.translations.size();
        };
        std::future<TranslationUpdater::Outcome> update = std::async(std::launch::async, [&] {
            return TranslationUpdater::updateHeldProject(
                app, TranslationUpdater::HeldStart{"de", project.style, project.terms, copied.get_future()},
                strings, StringChanges::compute(project, strings), ModelSettings{}, false, handover, {},
                pipeline);
        });
        EXPECT_EQ(asked.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready);
        if (c.copyFails) {
            copied.set_exception(std::make_exception_ptr(std::runtime_error("out of memory")));
            EXPECT_THROW(update.get(), std::runtime_error);
            EXPECT_EQ(translated, 0u);
        } else {
            copied.set_value(project);
            EXPECT_TRUE(update.get().failed.empty());
            EXPECT_EQ(translated, 16u);
        }
    }
}

} // namespace
} // namespace orvel::testing
