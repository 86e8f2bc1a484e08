#pragma once
// Learns where the strings of a running target app appear: turns the companion's id markers on, reads
// the open windows and the menu bar, opens every screen the app offers and reads it, turns the markers
// off again and analyses what was read. Keeps nothing between runs.

#include <chrono>
#include <functional>
#include <map>
#include <stop_token>
#include <string>
#include <vector>

#include "engine/apps/TranslatableApp.h"
#include "engine/capture/AXPlatform.h"
#include "engine/capture/ContextMap.h"
#include "engine/capture/LiveServices.h"

namespace orvel::ContextCapture {

// How long the app has to turn its markers on before it counts as having no companion.
inline constexpr std::chrono::milliseconds probeTimeout{5000};
// The app brings the texts on screen up to date within this time after "refresh".
inline constexpr std::chrono::milliseconds settlePause{900};
// The app opens a screen within this time after "show".
inline constexpr std::chrono::milliseconds screenPause{1300};
inline constexpr std::chrono::milliseconds helloTimeout{3000};
inline constexpr std::chrono::milliseconds probeOffTimeout{3000};
// How often the run looks whether the app's process still runs, so that it notices the app's end soon.
inline constexpr std::chrono::milliseconds processWatchInterval{500};
inline constexpr int windowNodeLimit = 5000;
inline constexpr int menuNodeLimit = 3000;

struct Result {
    // Where each string was seen, by string id.
    ContextMap map;
    // What was read, in reading order: the titles of the windows open at the start (markers removed),
    // then the title of each screen visited.
    std::vector<std::string> screens;
    // The strings the app reported as looked up, from the state the run ended with.
    std::vector<std::vector<std::string>> seen;
    // Per window name, readable texts that carried no marker and that no string claims.
    std::map<std::string, std::vector<std::string>> unkeyed;
    // Visited screens of which no window with any element could be read.
    std::vector<std::string> unreadable;
    // The screens, as the map names them ("Menu bar" for the menu bar), that were read only in part: the
    // app stopped answering or quit, the read's time ran out, or they hold more than a read's node budget;
    // after the app quit, also the screens left unvisited.
    std::vector<std::string> partial;
    // The app's process ended during the run, after something was read: what was read is kept.
    bool appQuit = false;
};

struct Services {
    LiveServices live;
    const AXPlatform& accessibility;
};

// Called on the capture's thread with "Turning on markers", then "Opening " and each screen's title.
using Progress = std::function<void(const std::string&)>;

// Throws CaptureError when accessibility is off, the app does not run (or runs from a bundle that is not
// translatable), it does not turn its markers on in time, or not one of its windows could be read (it
// quit, has no accessibility tree, or stopped answering). An app that quits is noticed within about a
// second, in any wait of the run. A stop
// request ends the run with CancellationError during the pauses after "refresh" and "show". Once the
// markers were asked for, every way out asks the app to turn them off again.
Result capture(const TranslatableApp& app, bool visitScreens, const Progress& progress,
               const Services& services, std::stop_token stop);

} // namespace orvel::ContextCapture
