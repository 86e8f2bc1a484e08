// Talking to the running copy of the workspace's app: capturing where its strings appear on screen, and
// switching the language it shows.

#include <exception>
#include <utility>

#include "Orvel/state/Workspace.h"

namespace orvel {

void Workspace::capture() {
    if (!m_services.engine.accessibilityTrusted()) {
        setProblem(Problem::accessibility());
        return;
    }
    if (!m_services.engine.runningCopy(m_app)) {
        setProblem(Problem::notRunning());
        return;
    }
    setCapturing(true);
    runInBackground(this, [this, &engine = m_services.engine, app = m_app]() -> std::function<void()> {
        try {
            ContextMap found = engine.capture(app, true, [](const std::string&) {}, {}).map;
            return [this, found = std::move(found)] {
                ContextMap merged = *m_context;
                merged.merge(found);
                setContext(merged);
                try {
                    merged.save(m_app);
                } catch (const std::exception&) {
                    // The merged map stays in memory; the next capture tries to save it again.
                }
                // Strings the app reported as seen while it was driven through its screens join the list.
                stateDidChange();
                setCapturing(false);
            };
        } catch (const std::exception& error) {
            return [this, message = std::string(error.what())] {
                setProblem(Problem::failed(message));
                setCapturing(false);
            };
        }
    });
}

void Workspace::setLive(std::optional<std::string> code) {
    // The switch waits for the running copy's confirmation, which may take seconds: not on the main thread.
    runInBackground(
        this,
        [this, &engine = m_services.engine, app = m_app, code = std::move(code)]() -> std::function<void()> {
            // Whether the app confirmed does not matter: the state read next shows what it shows.
            engine.setLanguage(app, code);
            return [this] { stateDidChange(); };
        });
}

} // namespace orvel
