// The footer's step badges follow the workspace through a first translation: the Context step is done
// once a capture has seen strings, the Translate step once everything is translated, and the Review
// step is current while problems wait and done when none are left.
#include "Orvel/views/StepLabel.h"
#include "Orvel/views/StepsFooter.h"
#include "tests/Orvel/state/WorkspaceRunFixture.h"

#include <gtest/gtest.h>

#include <functional>

namespace orvel::testing {
namespace {

// Public, so that the moments' functions reach it.
class StepsFooterBadgesTest : public WorkspaceRunTest {
  public:
    using WorkspaceRunTest::waitForEnd;

    StepState badge(const char* step) const {
        return footer->findChild<StepLabel*>(QString::fromLatin1(step))->state();
    }

    std::unique_ptr<Workspace> workspace;
    std::unique_ptr<StepsFooter> footer;
};

struct Moment {
    const char* name;
    std::function<void(StepsFooterBadgesTest&, Workspace&)> act;
    StepState context;
    StepState translate;
    StepState review;
};

TEST_F(StepsFooterBadgesTest, TheBadgesFollowAFirstTranslation) {
    const TranslatableApp app = appWith({"a", "b"});
    ContextMap seen;
    seen.occurrences[id("a")] = {Occurrence{.screen = "Main Window", .role = "button"}};
    engine.captureResult.map = seen;
    platform.running = {app.bundleURL};
    workspace = openGerman(app);
    footer = std::make_unique<StepsFooter>(
        *workspace, preferences, [] {}, [] {});
    using enum StepState;
    const std::vector<Moment> moments{
        {"opened", [](StepsFooterBadgesTest&, Workspace&) {}, ToCome, Current, ToCome},
        {"after a capture",
         [](StepsFooterBadgesTest&, Workspace& workspace) {
             workspace.capture();
             ASSERT_TRUE(processUntil([&] { return !workspace.capturing(); }));
             processPendingEvents();
             ASSERT_EQ(workspace.problem(), std::nullopt);
         },
         Done, Current, ToCome},
        {"after a run that translated everything",
         [](StepsFooterBadgesTest& test, Workspace& workspace) {
             workspace.translate(false);
             test.waitForEnd(workspace);
             ASSERT_TRUE(processUntil([&] { return workspace.problemsReady(); }));
             processPendingEvents();
         },
         Done, Done, Done},
        {"a string cleared again",
         [](StepsFooterBadgesTest&, Workspace& workspace) { workspace.setText("", id("b")); }, Done, Current,
         ToCome},
    };
    for (const Moment& moment : moments) {
        SCOPED_TRACE(moment.name);
        moment.act(*this, *workspace);
        EXPECT_EQ(badge("contextStep"), moment.context);
        EXPECT_EQ(badge("translateStep"), moment.translate);
        EXPECT_EQ(badge("reviewStep"), moment.review);
    }
}

} // namespace
} // namespace orvel::testing
