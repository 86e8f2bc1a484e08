// The strings screen while the application ends during Translate Changes: the update the end stops comes
// back with its cancellation, and no alert comes up for it; the person's own Stop still shows one.

#include <gtest/gtest.h>

#include <QMessageBox>

#include <chrono>
#include <string>
#include <vector>

#include "Orvel/state/Background.h"
#include "Orvel/views/StringsAlerts.h"
#include "tests/Orvel/state/ProcessUntil.h"
#include "tests/Orvel/views/StringsViewFixture.h"

namespace orvel::testing {
namespace {

using StringsViewEndingTest = StringsViewTest;

TEST_F(StringsViewEndingTest, AnUpdateTheEndStopsBringsUpNoAlert) {
    struct Case {
        const char* name;
        bool quits;
        bool alert;
    };
    const std::vector<Case> cases{
        {"the application ends", true, false},
        {"the person stops it", false, true},
    };
    preferences.setEndpoint("http://127.0.0.1:9/v1");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        build();
        // "b" was translated from the English it has now; "a" and "c" came with an update.
        TranslationProject project = *workspace->project();
        project.sourceText = std::map<std::string, std::string>{{id("b"), "Save"}};
        project.translations.at(id("b")).source = "Save";
        project.save(app);
        view.reset();
        workspace = open(app);
        view = std::make_unique<StringsView>(*workspace, platform);
        ASSERT_TRUE(processUntil([&] { return workspace->project().has_value(); }));
        ASSERT_FALSE(workspace->changes().toTranslate().empty());
        engine.model->holdAfter(0);
        workspace->updateTranslations();
        ASSERT_TRUE(processUntil([&] { return engine.model->held(); }));

        if (c.quits)
            workspace->quit();
        else
            workspace->stop();
        ASSERT_TRUE(processUntil([&] {
            return engine.model->finished() == static_cast<int>(engine.model->calls().size()) &&
                   waitForBackgroundWork(std::chrono::milliseconds(0));
        }));
        processPendingEvents();

        EXPECT_EQ(view->alerts()->current() != nullptr, c.alert);
        engine.model->release();
    }
}

} // namespace
} // namespace orvel::testing
