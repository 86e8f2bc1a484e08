#include "Orvel/state/CommandLineTool.h"

#include <QCoreApplication>

#include <optional>
#include <system_error>
#include <unistd.h>

namespace orvel {
namespace {

namespace fs = std::filesystem;

QString describe(const std::error_code& error) {
    return QString::fromStdString(error.message());
}

bool isExecutableFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error) && ::access(path.c_str(), X_OK) == 0;
}

// The reason the link could not be made, or nothing once it is there.
std::optional<QString> link(const fs::path& tool, const fs::path& home) {
    if (!isExecutableFile(tool))
        return describe(std::make_error_code(std::errc::no_such_file_or_directory));
    const fs::path folder = home / ".local" / "bin";
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
        return describe(error);

    const fs::path link = folder / "orvel";
    // Only what an earlier install (or the person) left as a single file goes: removing a folder here
    // would take everything inside it along.
    const fs::file_status existing = fs::symlink_status(link, error);
    if (fs::is_symlink(existing) || fs::is_regular_file(existing)) {
        fs::remove(link, error);
    } else if (fs::exists(existing)) {
        return QCoreApplication::translate(
                   "CommandLineTool",
                   "An item that is not a link or a file is already at %1, so it was left as it is.")
            .arg(QString::fromStdString(link.string()));
    }
    fs::create_symlink(tool, link, error);
    if (error)
        return describe(error);
    return std::nullopt;
}

} // namespace

fs::path commandLineToolPath(const fs::path& applicationFolder) {
    return applicationFolder / "helpers" / "orvel";
}

void installCommandLineTool(Alerts& alerts, const fs::path& home, const fs::path& applicationFolder) {
    // The link stores an absolute path, so that it works from any folder of the shell.
    std::error_code error;
    const fs::path tool = fs::absolute(commandLineToolPath(applicationFolder), error);
    if (const std::optional<QString> failure = error ? describe(error) : link(tool, home)) {
        alerts.show({QCoreApplication::translate("CommandLineTool", "Couldn't install the command line tool"),
                     *failure});
        return;
    }
    alerts.show({QCoreApplication::translate("CommandLineTool", "Command line tool installed"),
                 //: orvel is the name of the command line tool, ~/.local/bin is a folder and PATH is the
                 //: shell variable: all three stay as they are
                 QCoreApplication::translate(
                     "CommandLineTool",
                     "orvel is in ~/.local/bin. Add that folder to PATH if the shell doesn't find it.")});
}

} // namespace orvel
