// Writing a workspace back: the chosen project's file, the overlay the running app loads and its
// language record, after a pause that gathers a burst of edits into one write.

#include <algorithm>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "Orvel/state/Workspace.h"
#include "engine/apps/OverlayWriter.h"

namespace orvel {
namespace {

// Who the language record names as the translator of an overlay.
constexpr std::string_view translatorName = "Orvel";

} // namespace

void Workspace::scheduleWriteBack(std::chrono::milliseconds pause) {
    if (!m_writeTask)
        m_writeTask = m_services.timers.makeTimer([this] { publish(); });
    m_writeTask->start(std::max(pause, std::chrono::milliseconds::zero()));
}

std::optional<std::string> Workspace::writeBack(const TranslationProject& project) const {
    try {
        project.save(m_app);
        OverlayWriter::publish(project, m_strings, m_app, translatorName);
    } catch (const std::exception& error) {
        return error.what();
    }
    return std::nullopt;
}

void Workspace::publish() {
    if (!m_project)
        return;
    if (std::optional<std::string> failure = writeBack(*m_project)) {
        setProblem(Problem::failed(std::move(*failure)));
        return;
    }
    // A language published for the first time joins the language menu.
    if (m_language && std::find(m_languages.begin(), m_languages.end(), *m_language) == m_languages.end())
        setLanguages(storedLanguages());
}

void Workspace::writeBackNow() {
    if (!m_writeTask || !m_writeTask->isActive())
        return;
    m_writeTask->stop();
    publish();
}

void Workspace::flush() {
    writeBackNow();
    if (m_notesTask->isActive()) {
        m_notesTask->stop();
        saveNotes();
    }
}

} // namespace orvel
