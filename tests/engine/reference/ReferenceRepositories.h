#pragma once
// The six programs' public repositories played by one loopback server: files are served at the paths the
// fetchers ask for, anything else answers 404, and every request is logged.

#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "ArchiveBuilder.h"
#include "engine/reference/BuildSettings.h"
#include "engine/reference/ReferenceHosts.h"
#include "tests/support/Base64Lines.h"
#include "tests/support/LoopbackServer.h"

namespace orvel::testing {

class ReferenceRepositories {
    struct Served {
        int status;
        std::string body;
    };
    // Declared before the server, so that they outlive its request threads.
    std::mutex m_lock;
    std::map<std::string, Served> m_files;

  public:
    static constexpr std::string_view chromiumTag = "/chromium/src/+/refs/tags/70.0.3538.67/";
    static constexpr std::string_view androidTag = "/+archive/refs/tags/android-9.0.0_r1/";
    static constexpr std::string_view libreOfficeListingPath =
        "/repos/LibreOffice/translations/git/trees/libreoffice-6.0.0.3:source/";
    static constexpr std::string_view libreOfficeFilesPath =
        "/LibreOffice/translations/libreoffice-6.0.0.3/source/";
    static constexpr std::string_view firefoxRelease = "/releases/mozilla-release/";
    static constexpr std::string_view thunderbirdRelease = "/releases/comm-esr60/";

    ReferenceRepositories() {
        server.respond([this](const RecordedRequest& request) {
            std::lock_guard guard(m_lock);
            const auto file = m_files.find(request.path + (request.query.empty() ? "" : "?" + request.query));
            return file == m_files.end() ? Reply(404, "not found")
                                         : Reply(file->second.status, file->second.body);
        });
    }

    // `target` is the path with its query, as a fetcher asks for it.
    void serve(const std::string& target, std::string body, int status = 200) {
        std::lock_guard guard(m_lock);
        m_files.insert_or_assign(target, Served{status, std::move(body)});
    }

    void chromiumFile(const std::string& path, std::string_view contents) {
        serve(std::string(chromiumTag) + path + "?format=TEXT", base64Lines(contents));
    }

    // The files of one resource folder ("values" or "values-de") of an Android repository.
    void androidFolder(const std::string& repository, const std::string& folder, const std::string& values,
                       const std::vector<ArchiveEntry>& files) {
        serve("/" + repository + std::string(androidTag) + folder + "/" + values + ".tar.gz",
              buildArchive(files, false));
    }

    void libreOfficeListing(const std::string& code, const std::string& body) {
        serve(std::string(libreOfficeListingPath) + code + "?recursive=1", body);
    }

    void libreOfficeFile(const std::string& code, const std::string& path, std::string body) {
        serve(std::string(libreOfficeFilesPath) + code + "/" + path, std::move(body));
    }

    void vlcCatalogue(const std::string& code, std::string body) {
        serve("/videolan/vlc/3.0.0/po/" + code + ".po", std::move(body));
    }

    // A Mozilla folder archive: the files below one top folder.
    static std::string mozillaZip(const std::string& top, const std::map<std::string, std::string>& files) {
        std::vector<ArchiveEntry> entries{folderEntry(top + "/")};
        for (const auto& [path, contents] : files)
            entries.push_back(fileEntry(top + "/" + path, contents));
        return buildArchive(entries, true);
    }

    void localeArchive(const std::string& code, const std::string& revision,
                       const std::map<std::string, std::string>& files) {
        serve("/l10n-central/" + code + "/archive/" + revision + ".zip",
              mozillaZip(code + "-" + revision, files));
    }

    ReferenceHosts hosts() const { return ReferenceHosts::all(server.url("/")); }

    // Settings for a build against this server whose retries never wait.
    SoftwareReference::BuildSettings settings() const {
        SoftwareReference::BuildSettings settings;
        settings.hosts = hosts();
        settings.pause = [](std::chrono::duration<double>, const std::stop_token&) {};
        return settings;
    }

    // Every request so far as path with query, in arrival order.
    std::vector<std::string> requested() const {
        std::vector<std::string> targets;
        for (const auto& request : server.requests())
            targets.push_back(request.path + (request.query.empty() ? "" : "?" + request.query));
        return targets;
    }

    LoopbackServer server;
};

} // namespace orvel::testing
