#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "SampleProjects.h"
#include "engine/reference/Downloader.h"
#include "engine/reference/PoEntries.h"
#include "engine/reference/SourceError.h"
#include "tests/support/ScratchFolder.h"

using namespace orvel;
using namespace orvel::testing;
using Source = SoftwareReference::Source;
using SourceError = SoftwareReference::SourceError;

namespace {

// "english | translation | key", sorted: the fetchers promise no order within a file.
std::vector<std::string> lines(const SoftwareReference::Pairs& pairs, Source source) {
    std::vector<std::string> out;
    for (const auto& pair : pairs) {
        EXPECT_EQ(pair.source, source) << pair.key;
        out.push_back(pair.english + " | " + pair.translation + " | " + pair.key);
    }
    std::sort(out.begin(), out.end());
    return out;
}

using Fetch = std::function<SoftwareReference::Pairs(const Downloader&, const ReferenceHosts&)>;

Downloader keeping(const std::filesystem::path& keep) {
    return Downloader(keep, [](std::chrono::duration<double>, const std::stop_token&) {});
}

// The error a fetch ends with, as "missing: text", "failed: text" or "other: description".
std::string failure(const Fetch& fetch, const ReferenceRepositories& repos) {
    const ScratchFolder scratch;
    try {
        fetch(keeping(scratch.path()), repos.hosts());
    } catch (const SourceError& error) {
        return (error.kind() == SourceError::Kind::missing ? "missing: " : "failed: ") + error.text();
    } catch (const std::exception& error) {
        return std::string("other: ") + error.what();
    }
    return "no error";
}

bool wasRequested(const ReferenceRepositories& repos, std::string_view part) {
    const auto requested = repos.requested();
    return std::any_of(requested.begin(), requested.end(),
                       [&](const std::string& target) { return target.find(part) != std::string::npos; });
}

struct FailureCase {
    std::string name;
    Fetch fetch;
    // The change to the sample trees: target, body, status.
    std::vector<std::tuple<std::string, std::string, int>> served;
    std::string expected;
    // A part of an address that must not have been asked for.
    std::string neverRequested;
};

void expectFailures(const std::vector<FailureCase>& cases) {
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        ReferenceRepositories repos;
        serveAllProjects(repos);
        for (const auto& [target, body, status] : row.served)
            repos.serve(target, body, status);
        const std::string result = failure(row.fetch, repos);
        // A parser's message ends in its own details.
        if (row.expected.ends_with("("))
            EXPECT_TRUE(result.starts_with(row.expected)) << result;
        else
            EXPECT_EQ(result, row.expected);
        if (!row.neverRequested.empty()) {
            EXPECT_FALSE(wasRequested(repos, row.neverRequested));
        }
    }
}

Fetch chromium(const std::string& code) {
    return [code](const Downloader& d, const ReferenceHosts& h) {
        return SoftwareReference::chromiumPairs(code, d, h);
    };
}

Fetch android(const std::string& code) {
    return [code](const Downloader& d, const ReferenceHosts& h) {
        return SoftwareReference::fetchAndroid(code, d, h);
    };
}

Fetch firefox(const std::string& code) {
    return [code](const Downloader& d, const ReferenceHosts& h) {
        return SoftwareReference::fetchFirefox(code, d, h);
    };
}

Fetch thunderbird(const std::string& code) {
    return [code](const Downloader& d, const ReferenceHosts& h) {
        return SoftwareReference::fetchThunderbird(code, d, h);
    };
}

Fetch libreOffice(const std::string& code) {
    return [code](const Downloader& d, const ReferenceHosts& h) {
        return SoftwareReference::libreOfficePairs(code, d, h);
    };
}

Fetch vlc(const std::string& code) {
    return [code](const Downloader& d, const ReferenceHosts& h) {
        return SoftwareReference::fetchVLC(code, d, h);
    };
}

const std::string chromiumTag(ReferenceRepositories::chromiumTag);

} // namespace

TEST(ReferenceFetchers, EachProgramPairsItsEnglishWithTheTranslations) {
    ReferenceRepositories repos;
    serveAllProjects(repos);
    const ScratchFolder scratch;
    const struct {
        Source source;
        Fetch fetch;
        std::vector<std::string> expected;
    } cases[] = {
        {Source::chromium,
         chromium("de"),
         {"Close | Schließen | generated_resources.grd:IDS_CLOSE",
          "Cut & Copy | Ausschneiden & Kopieren | generated_resources.grd:IDS_CUT",
          "OK | OK | components_strings.grd:IDS_OK", "Print | Drucken | generated_resources.grd:IDS_PRINT",
          "Save | Speichern | generated_resources.grd:IDS_SAVE"}},
        {Source::android,
         android("de"),
         {"Cancel | Abbrechen | Settings:res/strings.xml:cancel",
          "Cancel | Abbrechen | base:core/res/res/strings.xml:cancel"}},
        {Source::android, android("fr"), {"Cancel | Annuler | Settings:res/strings.xml:cancel"}},
        {Source::firefox,
         firefox("de"),
         {"Hot key | Taste | toolkit/chrome/global/dialog.properties:hotkey",
          "OK | OK | toolkit/chrome/global/dialog.properties:button-accept",
          "Reload | Neu laden | browser/chrome/browser/browser.dtd:reloadCmd.label",
          "Reload | Neu laden | toolkit/chrome/global/dialog.properties:reloadCmd.label"}},
        {Source::thunderbird,
         thunderbird("de"),
         {"Get Messages | Nachrichten abrufen | mail/chrome/messenger/messenger.dtd:getMsg.label"}},
        {Source::libreoffice,
         libreOffice("de"),
         {"%1 page | %1 Seite | sw/messages.po#0", "%1 pages | %1 Seiten! | sw/messages.po#2",
          "Cancel | Abbrechen | cui/messages.po", "Open | Öffnen | sw/messages.po:STR_OPEN",
          "Save As | Speichern unter | sw/messages.po"}},
        {Source::vlc,
         vlc("de"),
         {"%d file | %d Datei | de.po#0", "%d files | %d Dateien. | de.po#2", "Blank |   | de.po",
          "Cancel | Abbrechen | de.po", "Cancel | Abbrechen | de.po", "Open | Öffnen | de.po:menu"}},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(std::string(displayName(row.source)) + " " + row.expected.front());
        EXPECT_EQ(lines(row.fetch(keeping(scratch.path()), repos.hosts()), row.source), row.expected);
    }
    // Part files are found above, beside and below the GRD's folder; help, dictionaries, trees and paths
    // that leave the language's folder are never fetched.
    for (const std::string& part :
         {chromiumTag + "chrome/parts/extra.grdp", chromiumTag + "chrome/app/app_part.grdp",
          chromiumTag + "components/strings/components_de.xtb"})
        EXPECT_TRUE(wasRequested(repos, part)) << part;
    for (const std::string never : {"helpcontent2", "dictionaries", "folder.po", "readme.txt", "secret.po"})
        EXPECT_FALSE(wasRequested(repos, never)) << never;
}

TEST(ReferenceFetchers, FailuresEndTheWholeFetch) {
    const std::string firefoxChangesets =
        std::string(ReferenceRepositories::firefoxRelease) +
        "raw-file/FIREFOX_60_0_RELEASE/browser/locales/l10n-changesets.json";
    expectFailures({
        {"Chromium without a file element",
         chromium("it"),
         {},
         "missing: it translation of chrome/app/generated_resources.grd",
         "components_strings.grd"},
        {"Chromium file element without .xtb",
         chromium("ja"),
         {},
         "missing: ja translation of chrome/app/generated_resources.grd",
         "components_strings.grd"},
        {"Chromium XTB not base64",
         chromium("fr"),
         {{chromiumTag + "components/strings/components_fr.xtb?format=TEXT", "abc", 200}},
         "failed: unreadable components/strings/components_fr.xtb from 127.0.0.1",
         ""},
        {"Chromium part not base64",
         chromium("fr"),
         {{chromiumTag + "chrome/parts/extra.grdp?format=TEXT", "abcde", 200}},
         "failed: unreadable chrome/parts/extra.grdp from 127.0.0.1",
         "generated_fr.xtb"},
        {"Chromium XTB absent",
         chromium("fr"),
         {{chromiumTag + "components/strings/components_fr.xtb?format=TEXT", "", 404}},
         "missing: components_fr.xtb",
         ""},
        {"Android without any row", android("xx"), {}, "missing: values-xx", "/values.tar.gz"},
        {"Android translated archive broken",
         android("fr"),
         {{"/platform/packages/apps/Settings/+archive/refs/tags/android-9.0.0_r1/res/values-fr.tar.gz",
           "junk", 200}},
         "failed: could not unpack an archive (Unrecognized archive format)",
         "/values.tar.gz"},
        {"Thunderbird without the locale",
         thunderbird("xx"),
         {},
         "missing: xx in Thunderbird 60",
         "l10n-central"},
        {"Firefox changesets not JSON",
         firefox("de"),
         {{firefoxChangesets, "{", 200}},
         "other: The data couldn't be read because it isn't in the correct format. (",
         "l10n-central"},
        {"Firefox locale archive absent",
         firefox("fr"),
         {{"/l10n-central/fr/archive/f1.zip", "", 404}},
         "missing: f1.zip",
         "FIREFOX_60_0_RELEASE.zip"},
        {"LibreOffice without interface catalogues",
         libreOffice("fr"),
         {{std::string(ReferenceRepositories::libreOfficeListingPath) + "fr?recursive=1",
           R"({"tree": [{"path": "helpcontent2/a.po", "type": "blob"}, {"path": "dictionaries/b.po", "type": "blob"},
                        {"path": "x.po", "type": "tree"}]})",
           200}},
         "missing: fr translation",
         "/source/fr/"},
        {"LibreOffice listing of another shape",
         libreOffice("fr"),
         {{std::string(ReferenceRepositories::libreOfficeListingPath) + "fr?recursive=1", "[]", 200}},
         "missing: fr translation",
         ""},
        {"LibreOffice listing absent", libreOffice("fr"), {}, "missing: fr", ""},
        {"LibreOffice file absent",
         libreOffice("de"),
         {{std::string(ReferenceRepositories::libreOfficeFilesPath) + "de/cui/messages.po", "", 404}},
         "missing: messages.po",
         ""},
        {"VLC catalogue absent", vlc("xx"), {}, "missing: xx.po", ""},
    });
}
