// Choosing the language a workspace translates into, adding a new one, and the checklist that opens
// for a language nobody has started on.

#include <algorithm>
#include <utility>

#include "Orvel/state/ProjectHandover.h"
#include "Orvel/state/Workspace.h"
#include "core/LanguageCode.h"

namespace orvel {

void Workspace::selectLanguage(std::optional<std::string> code) {
    chooseLanguage(std::move(code), std::nullopt);
}

void Workspace::chooseLanguage(std::optional<std::string> code, std::optional<ReadProject> loaded) {
    // A code names the project file "<code>.json" and a settings key; one that could name anything else
    // (a deep link, a published state and the new-language sheet all hand codes in) is turned away.
    if (code && !isPlausibleLanguageCode(*code))
        return;
    // Chosen before the workspace has loaded (a deep link): the load keeps this choice, and reads and
    // compares its project with the strings, which are not there yet.
    if (!m_loaded) {
        m_languageChosen = true;
        m_chosenBeforeLoad->set(code);
        setLanguage(code);
        if (code)
            storeDefault("language." + m_app.bundleIdentifier, *code);
        return;
    }
    // Up to here the previous language and its project are still the chosen ones. Edits still waiting
    // for their write-back belong to that project, so they are written before it is left.
    writeBackNow();
    // Once the workspace leaves a project the background pass may take it up: one writer at a time.
    waitForWrites();
    keepUnsavedAside();
    m_problemCache.clear();
    setLanguage(code);
    if (!code) {
        // Choosing no language keeps the stored choice for the next start.
        showProject(std::nullopt);
        return;
    }
    storeDefault("language." + m_app.bundleIdentifier, *code);
    // An update that went on writing this project while it was away starts again from what is shown
    // now: the copy it kept would take back what the person types meanwhile at its next step.
    for (const std::shared_ptr<RunRequest>& run : m_openRuns)
        if (run->language == *code)
            run->aside.reset();
    // The file of a project left with edits it could not take is older than the copy kept of it.
    if (const auto unsaved = m_unsaved.find(*code); unsaved != m_unsaved.end() && unsaved->second.left) {
        showProject(*std::exchange(unsaved->second.left, nullptr));
        return;
    }
    ProjectHandover* handover = m_services.handover;
    if (!handover || !handover->isWriting(m_app.bundleIdentifier, *code)) {
        if (loaded)
            showReadProject(std::move(*loaded));
        else
            showStoredProject(*code);
        return;
    }
    // The background pass is bringing this very project up to date. Were both to write it, each would
    // wipe out what the other wrote; so the pass stops, and the project is read after its last write.
    showProject(std::nullopt);
    QPointer<QObject> guard(this);
    handover->takeOver(m_app.bundleIdentifier, *code, [this, guard, language = *code] {
        if (guard && m_language == language && !m_project)
            showStoredProject(language);
    });
}

void Workspace::showProject(std::optional<TranslationProject> project) {
    assignProject(std::move(project));
    setSelection({});
    refreshChanges();
    refreshProblems();
    projectShown();
}

void Workspace::showReadProject(ReadProject read) {
    assignProject(std::move(read.project), std::move(read.rows));
    levelOverlay(read.asRead);
    setSelection({});
    m_changesTask.cancel();
    m_changesSinceCompared.clear();
    setChanges(std::move(read.changes));
    autoUpdateIfNeeded();
    refreshProblems(std::move(read.asRead));
    projectShown();
}

void Workspace::projectShown() {
    setChecklistOpen(m_language && m_project && translatedCount() == 0 &&
                     m_services.defaults.boolean(checklistKey()) != true);
}

void Workspace::listLanguage(const std::string& code) {
    if (std::find(m_languages.begin(), m_languages.end(), code) != m_languages.end())
        return;
    std::vector<std::string> languages = m_languages;
    languages.push_back(code);
    std::sort(languages.begin(), languages.end());
    setLanguages(std::move(languages));
}

void Workspace::addLanguage(const std::string& code) {
    if (!isPlausibleLanguageCode(code))
        return;
    listLanguage(code);
    selectLanguage(code);
    if (!m_loaded) {
        m_addedBeforeLoad = code;
        return;
    }
    if (!m_project)
        return;
    // On failure the language stays chosen for this session; its first saved edit writes the file.
    m_writer.write({projectSnapshot(), nullptr}, saveDone(m_project->language));
}

void Workspace::finishChecklist() {
    setChecklistOpen(false);
    storeDefault(checklistKey(), true);
}

} // namespace orvel
