#include "Orvel/views/StringsAlert.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvel {
namespace {

using Action = StringsAlert::Action;
using Button = StringsAlert::Button;

TEST(StringsAlert, EachProblemHasItsTitleMessageAndButtons) {
    struct Case {
        const char* name;
        WorkspaceProblem problem;
        QString title;
        QString message;
        std::vector<Button> buttons;
    };
    const Button cancel{"Cancel", true, Action::none};
    const std::vector<Case> cases{
        {"accessibility",
         WorkspaceProblem::accessibility(),
         "Allow Accessibility access?",
         "Orvel reads the windows of A&B to learn where each string appears. That needs the desktop's "
         "accessibility support, which is off. Turn On Accessibility switches it on for this session and "
         "opens the desktop's accessibility settings where there are any. Apps opened before it was on must "
         "be opened again.",
         {{"Turn On Accessibility", false, Action::openAccessibilitySettings}, cancel}},
        {"not running",
         WorkspaceProblem::notRunning(),
         "A&B is not running",
         "",
         {{"Open A&B", false, Action::launchApp}, cancel}},
        {"failed",
         WorkspaceProblem::failed("<b>disk</b> full"),
         "Translation failed",
         "<b>disk</b> full",
         {}},
        {"failed without a message", WorkspaceProblem::failed(""), "Translation failed", "", {}},
        {"unsupported language",
         WorkspaceProblem::unsupportedLanguage("de"),
         "Apple Intelligence can't translate into German",
         "Choose another provider in Settings.",
         {{"Open Settings", false, Action::openSettings}, cancel}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const StringsAlert alert = stringsAlert(c.problem, QStringLiteral("A&B"));
        EXPECT_EQ(alert.title, c.title);
        EXPECT_EQ(alert.message, c.message);
        EXPECT_EQ(alert.buttons, c.buttons);
    }
}

} // namespace
} // namespace orvel
