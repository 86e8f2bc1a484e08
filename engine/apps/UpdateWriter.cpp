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

void UpdateWriter::save(const TranslationProject& project) {
    std::lock_guard guard(m_writing);
    if (m_handover)
        m_handover(project, std::nullopt);
    else
        project.save(m_app);
}

void UpdateWriter::write(const TranslationProject& project) {
    std::lock_guard guard(m_writing);
    if (m_handover)
        m_handover(project, std::nullopt);
    else
        saveAndPublish(project);
}

void UpdateWriter::writeLatest(const ProjectStore& store) {
    std::lock_guard guard(m_writing);
    // Read under the writing lock: a copy taken earlier may already be older than the last one written.
    if (m_handover)
        m_handover(store.project(), std::nullopt);
    else
        saveAndPublish(store.project());
}

void UpdateWriter::writeLatestQuietly(const ProjectStore& store,
                                      const std::optional<TranslationJob::Progress>& progress) {
    std::lock_guard guard(m_writing);
    TranslationProject project = store.project();
    if (m_handover) {
        m_handover(std::move(project), progress);
        return;
    }
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

} // namespace orvel
