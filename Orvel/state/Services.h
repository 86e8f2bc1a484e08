#pragma once
// Everything the application's state needs from outside, handed to each state object when it is made.
// The application builds it from the real services (SystemServices); tests build it from fakes, so
// every state test runs headless, without network, target apps or real waiting.
//
// The members are references to objects the builder keeps alive for as long as any state object
// holds the value; copying a Services value copies the references.

#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>

#include "Orvel/state/EngineFacade.h"
#include "Orvel/state/ProcessWatcher.h"
#include "Orvel/state/TimerFactory.h"
#include "core/DefaultsStore.h"
#include "engine/apps/AppPlatform.h"
#include "engine/capture/LiveClock.h"
#include "engine/capture/LiveServices.h"
#include "engine/capture/NotificationBus.h"

class QObject;

namespace orvel {

class LoadedFiles;
class ModelPreferences;
class ProjectHandover;

struct Services {
    // The domain of the application's own settings in the defaults folder.
    static constexpr std::string_view defaultsDomain = "Orvel";

    // The application's own settings (chosen language per app, checklist marks, model preferences).
    // Target apps' settings live in a folder of their own inside its folder (AppLink::defaults()).
    DefaultsStore defaults;
    // "orvel.command" out to target apps, "orvel.state" in from them.
    NotificationBus& bus;
    // The running processes and their bundles.
    const AppPlatform& platform;
    // The current date, and the pauses of the live protocol's waits.
    LiveClock& clock;
    // Restartable single-shot timers of the debounces.
    TimerFactory& timers;
    // The person's home folder (for what the application puts there itself, such as ".local/bin").
    // Target apps' data folders follow OrvelPaths::home(), which the builder keeps the same.
    std::filesystem::path home;
    EngineFacade& engine;
    // The application's one set of model preferences, which every run reads (settings, key, review,
    // automatic updates). Without it a workspace shows and edits but never starts a run.
    ModelPreferences* preferences = nullptr;
    // The launches and quits of applications. Without it the library reads its app list only when asked.
    ProcessWatcher* processes = nullptr;
    // The projects the library's background pass is writing, which a workspace waits for before it reads
    // one. The library sets it for the workspaces it makes; without it nothing else writes their projects.
    ProjectHandover* handover = nullptr;
    // The strings and projects the library's workspaces and its background measure have read, shared so
    // that they are read once while their files stay the same; without it a workspace reads its own.
    std::shared_ptr<LoadedFiles> loaded = nullptr;
    // Runs a workspace's file work (its loading, each project write) away from the main thread and its
    // answer back on it while the receiver lives; empty for a worker thread each. Tests run both in
    // place, so that a workspace is loaded when it is made and a write is on disk when the call that
    // asked for it returns.
    std::function<void(QObject* receiver, std::function<std::function<void()>()> work)> runFileWork = nullptr;

    // What a live link to a target app goes through: the bus, the processes, the clock, and the
    // settings folder that holds the target apps' settings folder.
    LiveServices live() const { return {bus, platform, clock, defaults.fileURL().parent_path()}; }
};

} // namespace orvel
