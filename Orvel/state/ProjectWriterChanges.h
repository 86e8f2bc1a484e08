#pragma once
// What changed in a workspace's chosen project since the writer's own copy of it was last brought up to
// date. A run's writes hand the writer only that, not a copy of the whole project: a write of a large
// project then costs the main thread as much as the batches merged since the last one.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "Orvel/state/ProjectWriter.h"
#include "engine/apps/TranslationProject.h"

namespace orvel {

class ProjectWriterChanges {
  public:
    // A copy of the whole project, made on the main thread.
    using Copy = std::function<std::shared_ptr<TranslationProject>()>;

    // The project was replaced, or the writer's copy may be gone: the next write hands it over whole.
    void forget();
    void translation(const std::string& id) {
        m_translations.insert(id);
        ++m_told;
    }
    void retired(const std::string& id) {
        m_retired.insert(id);
        ++m_told;
    }
    void terms() {
        m_terms = true;
        ++m_told;
    }
    void style() {
        m_style = true;
        ++m_told;
    }
    // The recorded English and the app version, with a copy of what the project now holds of them, made
    // where the main thread does not wait for it. Without one the project is better handed over whole,
    // copied on several threads.
    void recorded(ProjectDelta::Recorded copy) {
        m_recorded = std::move(copy);
        ++m_told;
    }
    // Counts every change told and every forget(): equal counts mean the project has not changed
    // between them.
    std::uint64_t told() const { return m_told; }

    // What brings the writer's copy up to `project`, which has changed only as told since the last call:
    // the whole project (made by `copy`) when the writer holds no copy of it. With `keep` false the
    // writer drops its copy once written, and the next call hands the project over whole again.
    ProjectWriter::Update take(const TranslationProject& project, const Copy& copy, bool keep);

  private:
    bool m_whole = true;
    std::set<std::string> m_translations;
    std::set<std::string> m_retired;
    bool m_terms = false;
    bool m_style = false;
    std::optional<ProjectDelta::Recorded> m_recorded;
    std::uint64_t m_told = 0;
};

} // namespace orvel
