#include "Orvel/state/ProjectHandover.h"

#include <utility>

namespace orvel {

void ProjectHandover::begin(std::string app, std::string language, std::function<void()> stop) {
    m_held = Held{std::move(app), std::move(language), std::move(stop), {}};
}

void ProjectHandover::end() {
    if (!m_held)
        return;
    std::vector<std::function<void()>> waiting = std::move(m_held->waiting);
    m_held.reset();
    for (const auto& take : waiting)
        take();
}

bool ProjectHandover::isWriting(const std::string& app, const std::string& language) const {
    return m_held && m_held->app == app && m_held->language == language;
}

void ProjectHandover::takeOver(const std::string& app, const std::string& language,
                               std::function<void()> take) {
    if (!isWriting(app, language)) {
        take();
        return;
    }
    m_held->waiting.push_back(std::move(take));
    if (m_held->stop)
        m_held->stop();
}

} // namespace orvel
