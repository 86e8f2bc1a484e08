// Scenes of the string inspector and the context sheet over a generated app.
#include "Orvel/shots/InspectorShotWorkspace.h"
#include "Orvel/shots/ShotScene.h"

#include "Orvel/views/ContextSheet.h"
#include "Orvel/views/StringInspector.h"

namespace orvel {

namespace {

constexpr QSize inspectorSize{340, 640};

// A model's translation of the English `source` as it is now, so the string counts as unchanged.
StringTranslation modelTranslation(std::string source, std::optional<std::string> text,
                                   std::optional<std::map<std::string, std::string>> plural = std::nullopt) {
    StringTranslation translation;
    translation.source = std::move(source);
    translation.text = std::move(text);
    translation.plural = std::move(plural);
    translation.origin = StringTranslation::Origin::model;
    return translation;
}

// The inspector of `key`, with its workspace as a child so both end together.
std::unique_ptr<QWidget> inspectorOf(InspectorShotWorkspace* fixture, const std::string& key) {
    fixture->select(key);
    auto inspector = std::make_unique<StringInspector>(fixture->workspace());
    fixture->setParent(inspector.get());
    return inspector;
}

std::unique_ptr<QWidget> buildPlainTranslation() {
    return inspectorOf(
        new InspectorShotWorkspace("de", {{"note.delete", modelTranslation("Delete Note", "Notiz löschen")}}),
        "note.delete");
}

std::unique_ptr<QWidget> buildPluralEditor() {
    return inspectorOf(
        new InspectorShotWorkspace("ru", {{"%lld notes", modelTranslation("%lld notes", std::nullopt,
                                                                          {{{"one", "%lld заметка"},
                                                                            {"few", "%lld заметки"},
                                                                            {"many", "%lld заметок"},
                                                                            {"other", "%lld заметки"}}})}}),
        "%lld notes");
}

std::unique_ptr<QWidget> buildProblemCallout() {
    return inspectorOf(
        new InspectorShotWorkspace(
            "ro", {{"Send email now", modelTranslation("Send email now", "Trimite email acum")}}),
        "Send email now");
}

std::unique_ptr<QWidget> sheetOf(InspectorShotWorkspace* fixture) {
    AppNotes notes;
    notes.notes = "Keep titles short; the sidebar is narrow.";
    notes.glossary = {{.term = "pin", .note = "Keep a note at the top", .translate = std::nullopt},
                      {.term = "Jotter", .note = std::nullopt, .translate = false}};
    fixture->workspace().setNotes(notes);
    auto sheet = std::make_unique<ContextSheet>(fixture->workspace());
    fixture->setParent(sheet.get());
    return sheet;
}

std::unique_ptr<QWidget> buildContextFilled() {
    return sheetOf(new InspectorShotWorkspace("de", {}));
}

std::unique_ptr<QWidget> buildContextWithoutLanguage() {
    return sheetOf(new InspectorShotWorkspace(std::nullopt, {}));
}

const ShotSceneRegistration plainScene{"inspector-plain", inspectorSize, &buildPlainTranslation};
const ShotSceneRegistration pluralScene{"inspector-plural", inspectorSize, &buildPluralEditor};
const ShotSceneRegistration problemScene{"inspector-problem", inspectorSize, &buildProblemCallout};
const ShotSceneRegistration contextScene{
    "context-sheet", {ContextSheet::sheetWidth, ContextSheet::sheetHeight}, &buildContextFilled};
const ShotSceneRegistration contextNoLanguageScene{"context-sheet-no-language",
                                                   {ContextSheet::sheetWidth, ContextSheet::sheetHeight},
                                                   &buildContextWithoutLanguage};

} // namespace

} // namespace orvel
