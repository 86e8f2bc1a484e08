// Scenes of the strings screen: the table with the three states of a translation and where strings
// were seen, and the four alerts.
#include "Orvel/shots/ShotScene.h"
#include "Orvel/shots/ShotWorkspace.h"

#include "Orvel/views/StringsAlert.h"
#include "Orvel/views/StringsAlerts.h"
#include "Orvel/views/StringsView.h"

#include <QMessageBox>
#include <QVBoxLayout>

namespace orvel {

namespace {

SourceString mainString(const char* key, const char* text) {
    SourceString string;
    string.table = "Main";
    string.key = key;
    string.text = text;
    return string;
}

StringTranslation translation(const char* text, StringTranslation::Origin origin) {
    StringTranslation made;
    made.text = text;
    made.origin = origin;
    return made;
}

std::unique_ptr<QWidget> buildTable() {
    using Origin = StringTranslation::Origin;
    std::vector<SourceString> strings{
        mainString("open", "Open Recent"),
        mainString("save", "Save a copy of this note to a folder of your choice, keeping its attachments, "
                           "tags and the history of every change made to it"),
        mainString("share", "Share <b>Note</b> & Attachments"),
        mainString("delete", "Delete %lld Notes"),
        mainString("quit", "Quit Notes"),
    };
    TranslationProject project;
    project.app = "com.example.shots";
    project.language = "de";
    project.translations[strings[0].id()] = translation("Zuletzt geöffnet", Origin::model);
    project.translations[strings[1].id()] = translation("Eine Kopie dieser Notiz sichern", Origin::person);
    StringTranslation plural;
    plural.plural =
        std::map<std::string, std::string>{{"one", "%lld Notiz löschen"}, {"other", "%lld Notizen löschen"}};
    project.translations[strings[3].id()] = plural;
    auto* fixture = new ShotWorkspace("Notes", strings, project);
    ContextMap context;
    context.occurrences[strings[0].id()] = {Occurrence{.screen = "Menu bar > File", .role = "menu item"}};
    context.occurrences[strings[2].id()] = {
        Occurrence{.screen = "Main Window", .section = "Toolbar", .role = "button"},
        Occurrence{.screen = "Share Sheet", .role = "button"}};
    fixture->workspace().setContext(context);
    auto view = std::make_unique<StringsView>(fixture->workspace(), fixture->platform());
    // Made last, so that the view's widgets go before the workspace they read.
    fixture->setParent(view.get());
    return view;
}

std::unique_ptr<QWidget> alertScene(const WorkspaceProblem& problem) {
    auto holder = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(holder.get());
    StringsAlerts::Actions actions;
    QMessageBox* box =
        StringsAlerts::makeBox(stringsAlert(problem, QStringLiteral("Notes")), holder.get(), actions);
    box->setWindowFlags(Qt::Widget);
    layout->addWidget(box, 0, Qt::AlignCenter);
    return holder;
}

const QSize alertSize{560, 240};

const ShotSceneRegistration tableScene{"strings-table", {1100, 420}, &buildTable};
// Its message says what is off and what the button does: two lines more than the others.
const ShotSceneRegistration accessibilityScene{
    "strings-alert-accessibility", {560, 250}, [] { return alertScene(WorkspaceProblem::accessibility()); }};
const ShotSceneRegistration notRunningScene{"strings-alert-not-running", alertSize,
                                            [] { return alertScene(WorkspaceProblem::notRunning()); }};
const ShotSceneRegistration failedScene{
    "strings-alert-failed", alertSize,
    [] { return alertScene(WorkspaceProblem::failed("Open Recent: the answer was not JSON")); }};
const ShotSceneRegistration unsupportedScene{
    "strings-alert-unsupported-language", alertSize,
    [] { return alertScene(WorkspaceProblem::unsupportedLanguage("ja")); }};

} // namespace

} // namespace orvel
