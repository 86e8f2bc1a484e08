#pragma once
// Owns the project that one re-translation run fills, so that batch results arriving from parallel
// tasks are merged one at a time and each merge sees every earlier one.

#include <map>
#include <string>
#include <utility>

#include "core/Locked.h"
#include "engine/apps/StringTranslation.h"
#include "engine/apps/TranslationProject.h"

namespace orvel {

class ProjectStore {
  public:
    explicit ProjectStore(TranslationProject project) : m_project(std::move(project)) {}

    TranslationProject project() const { return m_project.get(); }
    void setProject(TranslationProject project) { m_project.set(std::move(project)); }

    // Runs `body` on the project while no merge can interleave.
    template <class F> decltype(auto) updateProject(F&& body) {
        return m_project.withLock(std::forward<F>(body));
    }

    // Every result replaces whatever stood under its id, a translation of the person included; nothing
    // else of the project changes. Returns the project as this merge left it, to be saved and
    // published without holding up the next merge.
    TranslationProject merge(const std::map<std::string, StringTranslation>& translations);

  private:
    Locked<TranslationProject> m_project;
};

} // namespace orvel
