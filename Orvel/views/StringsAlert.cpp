#include "Orvel/views/StringsAlert.h"

#include "Orvel/state/LanguageNames.h"
#include "Orvel/views/TextKeys.h"

namespace orvel {

namespace {

StringsAlert::Button cancelButton() {
    return {localized("Cancel"), true, StringsAlert::Action::none};
}

} // namespace

StringsAlert stringsAlert(const WorkspaceProblem& problem, const QString& appName) {
    using Kind = WorkspaceProblem::Kind;
    switch (problem.kind) {
    case Kind::accessibility:
        return {
            localized("Allow Accessibility access?"),
            localizedFormat("Orvel reads the windows of %@ to learn where each string appears. That needs "
                            "the desktop's accessibility support, which is off. Turn On Accessibility "
                            "switches it on for this session and opens the desktop's accessibility settings "
                            "where there are any. Apps opened before it was on must be opened again.",
                            {appName}),
            {{localized("Turn On Accessibility"), false, StringsAlert::Action::openAccessibilitySettings},
             cancelButton()}};
    case Kind::notRunning:
        return {localizedFormat("%@ is not running", {appName}),
                {},
                {{localizedFormat("Open %@", {appName}), false, StringsAlert::Action::launchApp},
                 cancelButton()}};
    case Kind::failed:
        return {localized("Translation failed"), QString::fromStdString(problem.text), {}};
    case Kind::unsupportedLanguage:
        return {localizedFormat("Apple Intelligence can't translate into %@",
                                {QString::fromStdString(displayName(problem.text))}, "%@ is a language name"),
                localized("Choose another provider in Settings."),
                {{localized("Open Settings"), false, StringsAlert::Action::openSettings}, cancelButton()}};
    }
    return {};
}

} // namespace orvel
