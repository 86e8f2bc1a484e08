#include "engine/apps/UpdateWriter.h"

#include "engine/apps/OverlayWriter.h"

namespace orvel {

UpdateWriter::UpdateWriter(const TranslatableApp& app, const std::vector<SourceString>& strings,
                           Handover handover)
    : m_app(app), m_strings(strings), m_handover(std::move(handover)) {}

void UpdateWriter::saveAndPublish(const TranslationProject& project) const {
    project.save(m_app);
    OverlayWriter::publish(project, m_strings, m_app, translator);
}

void UpdateWriter::publishQuietly(const TranslationProject& project) const {
    // A failed save leaves the old file; the overlay is still worth publishing.
    try {
        project.save(m_app);
    } catch (...) {
    }
    try {
        OverlayWriter::publish(project, m_strings, m_app, translator);
    } catch (...) {
    }
}

void UpdateWriter::save(const TranslationProject& project, ProjectDelta step) {
    std::lock_guard guard(m_writing);
    if (m_handover)
        m_handover(std::move(step), std::nullopt);
    else
        project.save(m_app);
}

void UpdateWriter::write(const TranslationProject& project, ProjectDelta step) {
    std::lock_guard guard(m_writing);
    if (m_handover)
        m_handover(std::move(step), std::nullopt);
    else
        saveAndPublish(project);
}

void UpdateWriter::mergeQuietly(ProjectStore& store,
                                const std::map<std::string, StringTranslation>& translations,
                                const TranslationJob::Progress& progress) {
    std::lock_guard guard(m_writing);
    // Merged under the writing lock, so that the steps handed over come in the order of the merges.
    store.updateProject([&](TranslationProject& project) {
        for (const auto& [id, translation] : translations)
            project.translations.insert_or_assign(id, translation);
    });
    if (m_handover) {
        m_handover(ProjectDelta::merged(translations), progress);
        return;
    }
    publishQuietly(store.project());
}

void UpdateWriter::writeLatestQuietly(const ProjectStore& store) {
    std::lock_guard guard(m_writing);
    if (!m_handover)
        publishQuietly(store.project());
}

void UpdateWriter::writeLatest(const ProjectStore& store, ProjectDelta step) {
    std::lock_guard guard(m_writing);
    // Read under the writing lock: a copy taken earlier may already be older than the last one written.
    if (m_handover)
        m_handover(std::move(step), std::nullopt);
    else
        saveAndPublish(store.project());
}

} // namespace orvel
