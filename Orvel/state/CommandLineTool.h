#pragma once
// Makes the command line tool reachable from a shell: a symbolic link "orvel" in ".local/bin" of the
// home folder, pointing at the tool in the application's folder. The tool is a program of its own that
// this build does not make; without it the command reports the missing file.

#include <filesystem>

#include "Orvel/state/Alerts.h"

namespace orvel {

// The tool beside the application: "helpers/orvel" in the folder of the application's executable
// (the executable itself is named "orvel" too, so the tool cannot sit right beside it).
std::filesystem::path commandLineToolPath(const std::filesystem::path& applicationFolder);

// Links home/.local/bin/orvel to the tool and reports the outcome in one alert. An older link or file
// at that place is replaced; anything else there (a folder above all) is left alone and reported.
void installCommandLineTool(Alerts& alerts, const std::filesystem::path& home,
                            const std::filesystem::path& applicationFolder);

} // namespace orvel
