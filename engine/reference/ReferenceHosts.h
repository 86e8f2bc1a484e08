#pragma once
// Where the software reference finds the six programs' public repositories. Each address is the base
// that a fetcher puts a repository path after, so it ends in "/".

#include <string>

namespace orvel {

struct ReferenceHosts {
    // The web view of Chromium's source repository (answers "?format=TEXT" with base64).
    std::string chromium = "https://chromium.googlesource.com/";
    // The web front of the Android source repositories ("+archive" folders as tar.gz).
    std::string android = "https://android.googlesource.com/";
    // The Mercurial host of the Mozilla release and locale repositories.
    std::string mozilla = "https://hg.mozilla.org/";
    // The REST interface that lists the LibreOffice translations repository.
    std::string libreOfficeListing = "https://api.github.com/";
    // The raw-file host of the LibreOffice translations.
    std::string libreOfficeFiles = "https://raw.githubusercontent.com/";
    // The raw-file host of VLC's source repository.
    std::string vlc = "https://raw.githubusercontent.com/";

    // Every program at one base address, as a mirror (or a test server) that serves all their paths.
    static ReferenceHosts all(const std::string& base);
};

} // namespace orvel
