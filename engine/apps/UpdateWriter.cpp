#include "engine/apps/UpdateWriter.h"

#include "engine/apps/OverlayWriter.h"

namespace orvel {

UpdateWriter::UpdateWriter(const TranslatableApp& app, const std::vector<SourceString>& strings)
    : m_app(app), m_strings(strings) {}

void UpdateWriter::saveAndPublish(const TranslationProject& project) const {
    project.save(m_app);
    OverlayWriter::publish(project, m_strings, m_app, translator);
}

void UpdateWriter::write(const TranslationProject& project) {
    std::lock_guard guard(m_writing);
    saveAndPublish(project);
}

void UpdateWriter::writeLatest(const ProjectStore& store) {
    std::lock_guard guard(m_writing);
    // Read under the writing lock: a copy taken earlier may already be older than the last one written.
    saveAndPublish(store.project());
}

void UpdateWriter::writeLatestQuietly(const ProjectStore& store) {
    std::lock_guard guard(m_writing);
    const TranslationProject project = store.project();
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
