#include "engine/capture/ContextCapture.h"

#include <algorithm>

#include "core/Markers.h"
#include "engine/capture/AXReader.h"
#include "engine/capture/AppLink.h"
#include "engine/capture/CaptureError.h"
#include "engine/capture/ContextAnalyzer.h"

namespace orvel::ContextCapture {
namespace {

using OrvelProtocol::Command;
namespace fs = std::filesystem;

// The same bundle named two ways ("a/./X.app/", "a/X.app") is one location.
fs::path standardized(const fs::path& url) {
    fs::path out = url.lexically_normal();
    if (!out.has_filename() && out.has_parent_path() && out != out.root_path())
        out = out.parent_path();
    return out;
}

// The process whose windows are read. A copy from another location is fine as long as it is a build
// with the companion, which the translatable-app check stands for.
pid_t runningProcess(const AppLink& link, const Services& services) {
    auto running = link.runningCopy();
    if (!running)
        throw CaptureError::notRunning();
    if (!running->bundleURL.empty() && standardized(running->bundleURL) != standardized(link.app.bundleURL) &&
        !TranslatableApp::open(running->bundleURL, services.live.platform))
        throw CaptureError::otherCopyRunning(running->bundleURL.string());
    return running->processIdentifier;
}

// Whether the process read still runs, looked at no more often than processWatchInterval.
class ProcessWatch {
  public:
    ProcessWatch(const AppLink& link, pid_t pid) : m_link(link), m_pid(pid) {}

    bool ended() {
        const Date now = m_link.services.clock.now();
        if (m_ended || (m_lastLook && now < *m_lastLook + processWatchInterval))
            return m_ended;
        m_lastLook = now;
        const std::vector<RunningApplication> copies = m_link.runningCopies();
        m_ended = std::none_of(copies.begin(), copies.end(), [&](const RunningApplication& copy) {
            return copy.processIdentifier == m_pid;
        });
        return m_ended;
    }

    AppLink::Abandon abandon() {
        return [this] { return ended(); };
    }

  private:
    const AppLink& m_link;
    pid_t m_pid;
    std::optional<Date> m_lastLook;
    bool m_ended = false;
};

// Thrown inside the run once the app's process has ended: what was read until then is kept.
struct AppQuit {};

// A pause of the run that ends as soon as the app is seen to have quit.
void pauseWhileRunning(std::chrono::milliseconds duration, const Services& services, ProcessWatch& watch,
                       const std::stop_token& stop) {
    while (duration.count() > 0) {
        const std::chrono::milliseconds piece = std::min(duration, processWatchInterval);
        services.live.clock.pauseUnlessStopped(piece, stop);
        duration -= piece;
        if (watch.ended())
            throw AppQuit{};
    }
}

// A caller that wants no progress may pass an empty handler.
void report(const Progress& progress, const std::string& text) {
    if (progress)
        progress(text);
}

struct Reading {
    AXReader::WindowList windows;
    std::vector<std::string> screens;
    std::vector<std::string> unreadable;
    // Indices into `windows` of those read only in part.
    std::vector<std::size_t> partialWindows;
    // Screens of which a cut read found no window at all.
    std::vector<std::string> partialScreens;
    bool menuBarPartial = false;
    bool anyCut = false;
    // How many of the app's screens were visited.
    std::size_t visited = 0;
};

// Notes which of the windows just appended (from `first` on) a read cut short.
void noteCut(const AXReader::ReadOutcome& outcome, std::size_t first, const std::string& screenIfNone,
             Reading& reading) {
    if (!outcome.cutFrom)
        return;
    reading.anyCut = true;
    if (first + *outcome.cutFrom >= reading.windows.size()) {
        reading.partialScreens.push_back(screenIfNone);
        return;
    }
    for (std::size_t i = first + *outcome.cutFrom; i < reading.windows.size(); ++i)
        reading.partialWindows.push_back(i);
}

// The names the map gives the screens read only in part, each once, in reading order.
std::vector<std::string> partialScreens(const Reading& reading, const ContextAnalyzer::Tables& tables,
                                        const std::string& appName) {
    std::vector<std::string> out;
    auto add = [&](std::string name) {
        if (std::find(out.begin(), out.end(), name) == out.end())
            out.push_back(std::move(name));
    };
    for (std::size_t i : reading.partialWindows) {
        std::string name = ContextAnalyzer::displayText(reading.windows[i].first, tables);
        add(name.empty() ? appName : std::move(name));
    }
    for (const std::string& screen : reading.partialScreens)
        add(screen.empty() ? appName : screen);
    if (reading.menuBarPartial)
        add("Menu bar");
    return out;
}

bool hasAnyElement(const AXReader::WindowList& windows) {
    for (const auto& [title, tree] : windows)
        if (!tree.children.empty())
            return true;
    return false;
}

void visitScreen(const AppState::Screen& screen, const AppLink& link, pid_t pid, const Services& services,
                 const Progress& progress, ProcessWatch& watch, const std::stop_token& stop,
                 Reading& reading) {
    report(progress, "Opening " + screen.title);
    link.send(Command::show, {{"screen", screen.id}});
    pauseWhileRunning(screenPause, services, watch, stop);
    AXReader::ReadOutcome outcome;
    AXReader::WindowList windows =
        AXReader::windows(services.accessibility, pid, windowNodeLimit, stop, &outcome);
    reading.screens.push_back(screen.title);
    if (!hasAnyElement(windows))
        reading.unreadable.push_back(screen.title);
    const std::size_t first = reading.windows.size();
    // The screen's first window is the screen itself; any others keep their own titles.
    for (std::size_t i = 0; i < windows.size(); ++i) {
        std::string name = i == 0 ? screen.title : std::move(windows[i].first);
        reading.windows.emplace_back(std::move(name), std::move(windows[i].second));
    }
    noteCut(outcome, first, screen.title, reading);
    ++reading.visited;
}

// Why nothing could be read of an app that answered the probe.
CaptureError unreadableApp(ProcessWatch& watch, const Reading& reading) {
    if (watch.ended())
        return CaptureError::notRunning();
    if (reading.anyCut)
        return CaptureError::stoppedAnswering();
    return CaptureError::noAccessibilityTree();
}

} // namespace

Result capture(const TranslatableApp& app, bool visitScreens, const Progress& progress,
               const Services& services, std::stop_token stop) {
    if (!AXReader::isTrusted(services.accessibility))
        throw CaptureError::notTrusted();
    const AppLink link{app, services.live};
    const pid_t pid = runningProcess(link, services);

    ProcessWatch watch(link, pid);

    report(progress, "Turning on markers");
    auto probeAnswer = link.request(
        Command::probe, {{"on", true}}, probeTimeout, [](const AppState& state) { return state.probe; },
        watch.abandon());
    Reading reading;
    std::optional<AXNode> menuBar;
    bool quit = false;
    try {
        if (!probeAnswer)
            throw watch.ended() ? CaptureError::notRunning() : CaptureError::noAnswer();
        link.send(Command::refresh);
        pauseWhileRunning(settlePause, services, watch, stop);

        AXReader::ReadOutcome menuOutcome;
        menuBar = AXReader::menuBar(services.accessibility, pid, menuNodeLimit, stop, &menuOutcome);
        reading.menuBarPartial = menuOutcome.cutFrom.has_value();
        AXReader::ReadOutcome outcome;
        for (auto& [title, tree] :
             AXReader::windows(services.accessibility, pid, windowNodeLimit, stop, &outcome)) {
            reading.screens.push_back(Markers::clean(title));
            reading.windows.emplace_back(std::move(title), std::move(tree));
        }
        noteCut(outcome, 0, {}, reading);
        if (watch.ended())
            throw AppQuit{};
        if (visitScreens)
            for (const AppState::Screen& screen : probeAnswer->screens) {
                visitScreen(screen, link, pid, services, progress, watch, stop, reading);
                if (watch.ended())
                    throw AppQuit{};
            }
    } catch (const AppQuit&) {
        quit = true;
        if (visitScreens)
            for (std::size_t i = reading.visited; i < probeAnswer->screens.size(); ++i)
                reading.partialScreens.push_back(probeAnswer->screens[i].title);
    } catch (...) {
        // A slow app may still turn its markers on, and a stopped run must not leave them showing: the
        // app hears "off" whichever way the run ends, answered or not.
        link.send(Command::probe, {{"on", false}});
        throw;
    }

    std::optional<AppState> finalState;
    if (quit) {
        // Nobody is left to answer; a copy started meanwhile must not keep the markers.
        link.send(Command::probe, {{"on", false}});
    } else {
        finalState = link.request(
            Command::hello, {}, helloTimeout, [](const AppState&) { return true; }, watch.abandon());
        // Whether the app confirms is of no consequence: the capture is complete either way.
        link.request(
            Command::probe, {{"on", false}}, probeOffTimeout,
            [](const AppState& state) { return !state.probe; }, watch.abandon());
    }
    if (!finalState)
        finalState = *probeAnswer;
    // An app that answers the protocol but whose interface cannot be read taught us nothing; an empty map
    // is no success.
    if (!hasAnyElement(reading.windows))
        throw unreadableApp(watch, reading);

    const std::vector<SourceString> strings = app.loadStrings(finalState->seen);
    const ContextAnalyzer::EnglishTexts english = ContextAnalyzer::englishTexts(strings);
    std::optional<TranslationProject> project;
    if (finalState->language)
        project = TranslationProject::load(app, *finalState->language);
    const ContextAnalyzer::TextIndex index =
        ContextAnalyzer::textIndex(strings, project ? &*project : nullptr);
    const ContextAnalyzer::Tables tables{.markers = finalState->markers, .english = english, .index = index};

    Result result;
    result.map.occurrences =
        ContextAnalyzer::analyze(reading.windows, menuBar, app.name, tables, services.live.clock.now());
    result.screens = std::move(reading.screens);
    result.seen = finalState->seen;
    result.unkeyed = ContextAnalyzer::unkeyedTexts(reading.windows, index, app.name);
    result.unreadable = std::move(reading.unreadable);
    result.partial = partialScreens(reading, tables, app.name);
    result.appQuit = quit;
    return result;
}

} // namespace orvel::ContextCapture
