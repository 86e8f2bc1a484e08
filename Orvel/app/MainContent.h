#pragma once
// The root view of the main window: the sidebar of the library's apps beside the strings screen of the
// chosen one.

#include <QWidget>

#include <functional>

#include "Orvel/views/UrlOpener.h"

namespace orvel {

class Library;
class ModelPreferences;
class PlatformServices;

// Everything given outlives the view; `openSettings` shows the settings window and `openUrl` opens the
// empty sidebar's help link.
QWidget* makeMainContent(Library& library, ModelPreferences& preferences, PlatformServices& platform,
                         std::function<void()> openSettings, UrlOpener openUrl = openInBrowser);

} // namespace orvel
