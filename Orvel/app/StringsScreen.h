#pragma once
// The detail of a chosen app: the strings screen with its footer, checklist, inspector and context sheet,
// wired to the app's workspace, the model preferences and the desktop.

#include <QWidget>

#include <functional>

namespace orvel {

class ModelPreferences;
class PlatformServices;
class Workspace;

// `preferences` and `platform` outlive the screen; `openSettings` shows the settings window.
QWidget* makeStringsScreen(Workspace& workspace, ModelPreferences& preferences, PlatformServices& platform,
                           std::function<void()> openSettings);

} // namespace orvel
