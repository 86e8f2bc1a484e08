// A workspace that quits (the application ends) while a run or Translate Changes goes on: the run stops,
// what was merged is on disk, and nothing that ends after shows a problem, which would bring up an alert
// nobody is left to answer. A Stop by the person still shows how Translate Changes ended.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Orvel/state/Background.h"
#include "core/Cancellation.h"
#include "tests/Orvel/state/FullDisk.h"
#include "tests/Orvel/state/WorkspaceRunFixture.h"

namespace orvel::testing {
namespace {

class WorkspaceEndingTest : public WorkspaceRunTest {
  protected:
    // The app with strings a to f whose German project translated and recorded a and b.
    std::unique_ptr<Workspace> openUpdated() {
        app = appWith({"a", "b", "c", "d", "e", "f"});
        writeRecordedGerman(app, {"a", "b"});
        return open(app);
    }

    TranslatableApp app;
};

TEST_F(WorkspaceEndingTest, WhatEndsAfterTheQuitShowsNothing) {
    struct Case {
        const char* name;
        std::function<void(Workspace&)> start;
        // Batches the model delivers before it holds.
        int holdAfter;
        // How the run is ended: by quit() or by the person's Stop.
        bool quits;
        // The person types a translation of "a" just before the end, onto a disk full from then on.
        bool editOntoFullDisk;
        std::optional<std::string> expectedProblem;
        // Translations in the project file afterwards.
        std::size_t stored;
    };
    const std::string cancelled = CancellationError().what();
    const auto update = [](Workspace& w) { w.updateTranslations(); };
    const auto translateAll = [](Workspace& w) { w.translate(false); };
    const std::vector<Case> cases{
        {"Translate Changes before its first result", update, 0, true, false, std::nullopt, 2},
        {"Translate Changes after its first result", update, 1, true, false, std::nullopt, 4},
        {"a translate run after its first batch", translateAll, 1, true, false, std::nullopt, 4},
        {"Translate Changes whose last write fails", update, 1, true, true, std::nullopt, 4},
        {"Translate Changes stopped by the person", update, 1, false, false, cancelled, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto workspace = openUpdated();
        processPendingEvents();
        const std::size_t before = runs();
        engine.model->holdAfter(c.holdAfter);
        c.start(*workspace);
        ASSERT_TRUE(processUntil([&] {
            return engine.model->held() && workspace->project()->translations.size() == 2u + 2 * c.holdAfter;
        }));
        processPendingEvents();
        int problems = 0;
        QObject::connect(workspace.get(), &Workspace::problemChanged, [&] { ++problems; });
        std::optional<FullDisk> disk;
        if (c.editOntoFullDisk) {
            disk.emplace();
            workspace->setText("Meins", id("a"));
        }

        if (c.quits)
            workspace->quit();
        else
            workspace->stop();
        // Until the run's worker has ended and its end has come back.
        ASSERT_TRUE(processUntil([&] {
            return engine.model->finished() == static_cast<int>(before + 1) &&
                   waitForBackgroundWork(std::chrono::milliseconds(0));
        }));
        processPendingEvents();

        const std::optional<Workspace::Problem> expected =
            c.expectedProblem ? std::optional(Workspace::Problem::failed(*c.expectedProblem)) : std::nullopt;
        EXPECT_EQ(workspace->problem(), expected);
        EXPECT_EQ(problems, expected ? 1 : 0);
        EXPECT_FALSE(workspace->translating());
        disk.reset();
        EXPECT_EQ(TranslationProject::load(app, "de").translations.size(), c.stored);
        EXPECT_EQ(workspace->unsavedProjects().size(), c.editOntoFullDisk ? 1u : 0u);
        EXPECT_EQ(TranslationProject::load(app, "de").translations.at(id("a")).text, "de a");
    }
}

} // namespace
} // namespace orvel::testing
