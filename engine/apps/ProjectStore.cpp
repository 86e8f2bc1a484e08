#include "engine/apps/ProjectStore.h"

namespace orvel {

TranslationProject ProjectStore::merge(const std::map<std::string, StringTranslation>& translations) {
    return m_project.withLock([&](TranslationProject& project) {
        for (const auto& [id, translation] : translations)
            project.translations.insert_or_assign(id, translation);
        return project;
    });
}

} // namespace orvel
