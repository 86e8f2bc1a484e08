#pragma once
// The alert through which each kind of workspace problem reaches the person on the strings screen:
// its title, message and buttons, worked out without widgets.

#include "Orvel/state/WorkspaceProblem.h"

#include <QString>

#include <vector>

namespace orvel {

struct StringsAlert {
    enum class Action { none, openAccessibilitySettings, launchApp, openSettings };
    struct Button {
        QString text;
        bool cancel = false;
        Action action = Action::none;
        bool operator==(const Button&) const = default;
    };

    QString title;
    QString message;
    // In order; empty means the one plain acknowledging button.
    std::vector<Button> buttons;
};

// The alert of `problem` in the app named `appName`.
StringsAlert stringsAlert(const WorkspaceProblem& problem, const QString& appName);

} // namespace orvel
