#include <gtest/gtest.h>

#include <functional>

#include "SampleProjects.h"
#include "engine/reference/Downloader.h"
#include "engine/reference/KeptCopies.h"
#include "tests/support/ScratchFolder.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

using Fetch = std::function<SoftwareReference::Pairs(const std::string& code, const Downloader&,
                                                     const ReferenceHosts&)>;

Downloader keeping(const std::filesystem::path& keep) {
    return Downloader(keep, [](std::chrono::duration<double>, const std::stop_token&) {});
}

const Fetch chromium = [](const std::string& code, const Downloader& d, const ReferenceHosts& h) {
    return SoftwareReference::chromiumPairs(code, d, h);
};
const Fetch android = [](const std::string& code, const Downloader& d, const ReferenceHosts& h) {
    return SoftwareReference::fetchAndroid(code, d, h);
};
const Fetch firefox = [](const std::string& code, const Downloader& d, const ReferenceHosts& h) {
    return SoftwareReference::fetchFirefox(code, d, h);
};

const std::string chromiumTag(ReferenceRepositories::chromiumTag);
const std::string androidSettings =
    "/platform/packages/apps/Settings" + std::string(ReferenceRepositories::androidTag) + "res/";
const std::string firefoxRelease(ReferenceRepositories::firefoxRelease);

} // namespace

TEST(ReferenceKeptCopies, ASecondLanguageDownloadsOnlyItsTranslations) {
    const struct {
        std::string name;
        Fetch fetch;
        std::vector<std::string> secondRequests;
    } cases[] = {
        {"Chromium",
         chromium,
         {chromiumTag + "chrome/app/resources/generated_fr.xtb?format=TEXT",
          chromiumTag + "components/strings/components_fr.xtb?format=TEXT"}},
        {"Android",
         android,
         {"/platform/frameworks/base" + std::string(ReferenceRepositories::androidTag) +
              "core/res/res/values-fr.tar.gz",
          "/platform/frameworks/base" + std::string(ReferenceRepositories::androidTag) +
              "packages/SystemUI/res/values-fr.tar.gz",
          "/platform/frameworks/base" + std::string(ReferenceRepositories::androidTag) +
              "packages/SettingsLib/res/values-fr.tar.gz",
          androidSettings + "values-fr.tar.gz"}},
        {"Firefox", firefox, {"/l10n-central/fr/archive/f1.zip"}},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        ReferenceRepositories repos;
        serveAllProjects(repos);
        const ScratchFolder scratch;
        EXPECT_FALSE(row.fetch("de", keeping(scratch.path()), repos.hosts()).empty());
        const std::size_t first = repos.requested().size();
        EXPECT_FALSE(row.fetch("fr", keeping(scratch.path()), repos.hosts()).empty());
        const auto all = repos.requested();
        EXPECT_EQ(std::vector<std::string>(all.begin() + static_cast<std::ptrdiff_t>(first), all.end()),
                  row.secondRequests);
    }
}

TEST(ReferenceKeptCopies, AKeptCopyThatCannotBeReadIsDownloadedAgain) {
    const struct {
        std::string name;
        Fetch fetch;
        std::string code;
        std::string keptTarget;
        std::string keptBytes;
    } cases[] = {
        {"GRD not base64", chromium, "de", chromiumTag + "chrome/app/generated_resources.grd?format=TEXT",
         "abc"},
        {"GRD cut short", chromium, "de", chromiumTag + "chrome/app/generated_resources.grd?format=TEXT",
         base64Lines("<grit><translations><file path=")},
        {"part file a proxy's page", chromium, "de", chromiumTag + "chrome/parts/extra.grdp?format=TEXT",
         "<html><body>Sign in to continue</html>"},
        {"English archive not an archive", android, "de", androidSettings + "values.tar.gz", "<html>"},
        {"English archive with a broken file", android, "de", androidSettings + "values.tar.gz",
         buildArchive({fileEntry("strings.xml", "<resources><string name=")}, false)},
        {"changesets cut short", firefox, "de",
         firefoxRelease + "raw-file/FIREFOX_60_0_RELEASE/browser/locales/l10n-changesets.json", "{\"de\": {"},
        {"English zip cut short", firefox, "de",
         firefoxRelease + "archive/FIREFOX_60_0_RELEASE.zip/toolkit/locales/en-US/",
         ReferenceRepositories::mozillaZip("top", {{"a/locales/en-US/b.dtd", "x"}}).substr(0, 40)},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        ReferenceRepositories repos;
        serveAllProjects(repos);
        const ScratchFolder scratch;
        const auto kept = KeptCopies::file(scratch.path(), repos.server.url(row.keptTarget));
        writeBytes(kept, row.keptBytes);

        EXPECT_ANY_THROW(row.fetch(row.code, keeping(scratch.path()), repos.hosts()));
        EXPECT_FALSE(std::filesystem::exists(kept));
        EXPECT_FALSE(row.fetch(row.code, keeping(scratch.path()), repos.hosts()).empty());
        EXPECT_NE(readBytes(kept), row.keptBytes);
    }
}
