// Talking to the running copy of the workspace's app: capturing where its strings appear on screen, and
// switching the language it shows.

#include <algorithm>
#include <exception>
#include <utility>

#include "Orvel/state/Workspace.h"
#include "core/TextPieces.h"
#include "engine/capture/CaptureError.h"

namespace orvel {
namespace {

// What the person is told when some screens could be read only in part; the rest of the capture is kept.
std::optional<std::string> partialNote(const ContextCapture::Result& found) {
    const std::vector<std::string>& partial = found.partial;
    if (partial.empty())
        return std::nullopt;
    if (found.appQuit)
        return std::string(CaptureError::notRunning().what()) +
               ", so these screens could not be read whole: " + text::joined(partial, ", ") +
               ". What was read is kept; open the app and capture again to read them.";
    return "These screens were read only in part, because the app answered too slowly or showed more than "
           "one read takes in: " +
           text::joined(partial, ", ") + ". What was read is kept; capture again to read them whole.";
}

} // namespace

void Workspace::capture() {
    if (!m_services.engine.accessibilityTrusted()) {
        setProblem(Problem::accessibility());
        return;
    }
    if (m_services.engine.runningCopies(m_app).empty()) {
        setProblem(Problem::notRunning());
        return;
    }
    setCapturing(true);
    m_captureStop = std::stop_source();
    const std::stop_token stop = m_captureStop.get_token();
    runInBackground(this, [this, &engine = m_services.engine, app = m_app, stop]() -> std::function<void()> {
        try {
            ContextCapture::Result found = engine.capture(
                app, true, [](const std::string&) {}, stop);
            return [this, found = std::move(found)] {
                ContextMap merged = *m_context;
                merged.merge(found.map, found.partial);
                setContext(merged);
                try {
                    merged.save(m_app);
                } catch (const std::exception&) {
                    // The merged map stays in memory; the next capture tries to save it again.
                }
                // Strings the app reported as seen while it was driven through its screens join the list.
                stateDidChange();
                if (auto note = partialNote(found))
                    setProblem(Problem::failed(*note));
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

bool Workspace::updateRunning() {
    const std::vector<RunningApplication> running = m_services.engine.runningCopies(m_app);
    // A state that names no process is taken as a running copy's; one that names none of them is a quit
    // copy's, until a running one publishes its own. Any copy may have written it last.
    const bool runs = !running.empty() && m_appState &&
                      (m_appState->pid == 0 ||
                       std::any_of(running.begin(), running.end(), [&](const RunningApplication& copy) {
                           return copy.processIdentifier == m_appState->pid;
                       }));
    return std::exchange(m_appRunning, runs) != runs;
}

void Workspace::setLive(std::optional<std::string> code) {
    // The switch waits for the running copy's confirmation, which may take seconds: not on the main thread.
    runInBackground(
        this,
        [this, &engine = m_services.engine, app = m_app, code = std::move(code)]() -> std::function<void()> {
            // Whether the app confirmed does not matter: the state read next shows what it shows.
            engine.setLanguage(app, code);
            return [this] { stateDidChange(); };
        },
        AtTheEnd::leftBehind);
}

} // namespace orvel
