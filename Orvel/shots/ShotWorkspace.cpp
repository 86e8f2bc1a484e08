#include "Orvel/shots/ShotWorkspace.h"

#include "Orvel/state/Background.h"
#include "Orvel/state/Services.h"
#include "core/OrvelPaths.h"

namespace orvel {

ShotWorkspace::ShotWorkspace(const std::string& name, std::vector<SourceString> strings,
                             std::optional<TranslationProject> project) {
    const std::filesystem::path home = m_home.path().toStdString();
    OrvelPaths::setHomeOverride(home);
    m_engine.strings = std::move(strings);
    TranslatableApp app;
    app.bundleURL = home / (name + ".app");
    app.bundleIdentifier = "com.example.shots";
    app.name = name;
    const Services services{.defaults = *DefaultsStore::open(Services::defaultsDomain, home / "settings"),
                            .bus = m_bus,
                            .platform = AppPlatform::system(),
                            .clock = LiveClock::system(),
                            .timers = m_timers,
                            .home = home,
                            .engine = m_engine,
                            .runFileWork = runInPlace};
    m_workspace = std::make_unique<Workspace>(app, services);
    if (project) {
        m_workspace->setLanguages({project->language});
        m_workspace->setLanguage(project->language);
        m_workspace->setProject(std::move(project));
    }
}

ShotWorkspace::~ShotWorkspace() {
    m_workspace.reset();
    OrvelPaths::setHomeOverride(std::nullopt);
}

} // namespace orvel
