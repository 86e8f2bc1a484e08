// The software reference: counting half a million pairs into the table, and a whole build of one language
// from a loopback copy of the six programs' repositories, in all and per program.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <httplib.h>

#include "core/CachesFolder.h"
#include "engine/reference/BuildSettings.h"
#include "engine/reference/SoftwareReference.h"
#include "engine/reference/SourceCodes.h"
#include "tests/engine/reference/ArchiveBuilder.h"
#include "tests/support/Base64Lines.h"

namespace {

using orvel::SoftwareReference;

const std::vector<std::string>& words() {
    static const std::vector<std::string> made = [] {
        std::vector<std::string> list{"Open",     "Save",     "Close",  "File",    "Folder",
                                      "Window",   "Settings", "Print",  "Colour",  "Favourite",
                                      "Organise", "Cancel",   "Delete", "History", "Next"};
        for (int i = 0; i < 300; ++i)
            list.push_back("word" + std::to_string(i));
        return list;
    }();
    return made;
}

std::string phrase(std::mt19937& random, int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += (i ? " " : "") + words()[random() % words().size()];
    return text;
}

// About 60,000 English texts with up to five spellings of their translations, from all six programs.
SoftwareReference::Pairs pairs(std::size_t count) {
    std::mt19937 random(500000);
    std::vector<std::string> english;
    for (int i = 0; i < 60000; ++i)
        english.push_back(phrase(random, 1 + static_cast<int>(random() % 5)) +
                          (random() % 4 == 0 ? "…" : ""));
    SoftwareReference::Pairs made;
    made.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string& text = english[random() % english.size()];
        const std::string translation =
            "Übersetzung " + std::to_string(random() % 5) + (random() % 2 ? "." : "");
        made.push_back({text, random() % 3 ? translation : "übersetzung 0",
                        SoftwareReference::allSources[random() % SoftwareReference::allSources.size()],
                        "file.po:" + std::to_string(i)});
    }
    return made;
}

void tableFromHalfAMillionPairs(benchmark::State& state) {
    const auto input = pairs(500000);
    for (auto _ : state) {
        auto table = SoftwareReference::tableFrom(input, "de");
        benchmark::DoNotOptimize(table);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(input.size()));
}
BENCHMARK(tableFromHalfAMillionPairs)->Unit(benchmark::kMillisecond);

std::string archive(const std::map<std::string, std::string>& files, bool zip) {
    std::vector<orvel::testing::ArchiveEntry> entries;
    for (const auto& [path, contents] : files)
        entries.push_back(orvel::testing::fileEntry(path, contents));
    return orvel::testing::buildArchive(entries, zip);
}

// The six programs with a few thousand German messages each, at the paths the fetchers ask for.
std::map<std::string, std::string> repositoryFiles() {
    std::mt19937 random(6);
    std::map<std::string, std::string> files;
    const std::string chromium = "/chromium/src/+/refs/tags/70.0.3538.67/";
    for (const std::string grd : {"chrome/app/generated_resources", "components/components_strings"}) {
        std::string messages;
        std::string translations;
        for (int i = 0; i < 3000; ++i) {
            const std::string name = "IDS_" + std::to_string(i);
            const std::string text = phrase(random, 1 + i % 4);
            messages += "<message name=\"" + name + "\" use_name_for_id=\"true\">" + text + "</message>";
            translations += "<translation id=\"" + name + "\">de " + text + "</translation>";
        }
        const std::string folder = grd.substr(0, grd.rfind('/'));
        const std::string name = grd.substr(grd.rfind('/') + 1);
        files[chromium + grd + ".grd?format=TEXT"] =
            orvel::testing::base64Lines("<grit><translations><file path=\"resources/" + name +
                                        "_de.xtb\" lang=\"de\" /></translations>"
                                        "<release><messages>" +
                                        messages + "</messages></release></grit>");
        files[chromium + folder + "/resources/" + name + "_de.xtb?format=TEXT"] =
            orvel::testing::base64Lines("<translationbundle>" + translations + "</translationbundle>");
    }
    const std::string android = "/+archive/refs/tags/android-9.0.0_r1/";
    for (const auto& [repository, folder] :
         {std::pair{"platform/frameworks/base", "core/res/res"},
          std::pair{"platform/frameworks/base", "packages/SystemUI/res"},
          std::pair{"platform/frameworks/base", "packages/SettingsLib/res"},
          std::pair{"platform/packages/apps/Settings", "res"}}) {
        std::string english;
        std::string german;
        for (int i = 0; i < 1500; ++i) {
            const std::string text = phrase(random, 1 + i % 4);
            english += "<string name=\"s" + std::to_string(i) + "\">" + text + "</string>";
            german += "<string name=\"s" + std::to_string(i) + "\">de " + text + "</string>";
        }
        const std::string base = "/" + std::string(repository) + android + folder;
        files[base + "/values.tar.gz"] =
            archive({{"strings.xml", "<resources>" + english + "</resources>"}}, false);
        files[base + "/values-de.tar.gz"] =
            archive({{"strings.xml", "<resources>" + german + "</resources>"}}, false);
    }
    std::string dtdEnglish;
    std::string dtdGerman;
    std::string properties;
    std::string propertiesGerman;
    for (int i = 0; i < 1500; ++i) {
        const std::string text = phrase(random, 1 + i % 4);
        dtdEnglish += "<!ENTITY e" + std::to_string(i) + ".label \"" + text + "\">\n";
        dtdGerman += "<!ENTITY e" + std::to_string(i) + ".label \"de " + text + "\">\n";
        properties += "p" + std::to_string(i) + "=" + text + "\n";
        propertiesGerman += "p" + std::to_string(i) + "=de " + text + "\n";
    }
    const std::string firefox = "/releases/mozilla-release/";
    const std::string thunderbird = "/releases/comm-esr60/";
    files[firefox + "raw-file/FIREFOX_60_0_RELEASE/browser/locales/l10n-changesets.json"] =
        R"({"de": {"revision": "f1"}})";
    files[thunderbird + "raw-file/THUNDERBIRD_60_0_RELEASE/mail/locales/l10n-changesets.json"] =
        R"({"de": {"revision": "t1"}})";
    for (const std::string module : {"browser", "toolkit", "dom"})
        files[firefox + "archive/FIREFOX_60_0_RELEASE.zip/" + module + "/locales/en-US/"] =
            archive({{"top/" + module + "/locales/en-US/chrome/a.dtd", dtdEnglish},
                     {"top/" + module + "/locales/en-US/chrome/b.properties", properties}},
                    true);
    files[thunderbird + "archive/THUNDERBIRD_60_0_RELEASE.zip/mail/locales/en-US/"] =
        archive({{"top/mail/locales/en-US/chrome/a.dtd", dtdEnglish}}, true);
    std::map<std::string, std::string> locale;
    for (const std::string module : {"browser", "toolkit", "dom"}) {
        locale["de-f1/" + module + "/chrome/a.dtd"] = dtdGerman;
        locale["de-f1/" + module + "/chrome/b.properties"] = propertiesGerman;
    }
    files["/l10n-central/de/archive/f1.zip"] = archive(locale, true);
    files["/l10n-central/de/archive/t1.zip"] = archive({{"de-t1/mail/chrome/a.dtd", dtdGerman}}, true);

    std::string listing = R"({"tree": [)";
    std::string po = "msgid \"\"\nmsgstr \"\"\n\n";
    for (int i = 0; i < 400; ++i) {
        const std::string text = phrase(random, 1 + i % 4);
        po += "msgctxt \"c" + std::to_string(i) + "\"\nmsgid \"~" + text + "\"\nmsgstr \"de ~" + text +
              "\"\n\n";
    }
    for (int file = 0; file < 20; ++file) {
        const std::string path = "module" + std::to_string(file) + "/messages.po";
        listing += (file ? "," : "") + std::string(R"({"path": ")") + path + R"(", "type": "blob"})";
        files["/LibreOffice/translations/libreoffice-6.0.0.3/source/de/" + path] = po;
    }
    files["/repos/LibreOffice/translations/git/trees/libreoffice-6.0.0.3:source/de?recursive=1"] =
        listing + "]}";
    std::string vlc = "msgid \"\"\nmsgstr \"\"\n\n";
    for (int i = 0; i < 4000; ++i) {
        const std::string text = phrase(random, 1 + i % 4);
        vlc += "msgid \"&" + text + " " + std::to_string(i) + "\"\nmsgstr \"de " + text + "\"\n\n";
    }
    files["/videolan/vlc/3.0.0/po/de.po"] = vlc;
    return files;
}

class Repositories {
  public:
    Repositories() : m_files(repositoryFiles()) {
        m_server.Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
            const auto question = request.target.find('?');
            const auto file = m_files.find(
                request.path + (question == std::string::npos ? "" : request.target.substr(question)));
            if (file == m_files.end()) {
                response.status = 404;
                return;
            }
            response.set_content(file->second, "application/octet-stream");
        });
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        while (!m_server.is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~Repositories() {
        m_server.stop();
        m_thread.join();
    }

    SoftwareReference::BuildSettings settings() const {
        SoftwareReference::BuildSettings settings;
        settings.hosts = orvel::ReferenceHosts::all("http://127.0.0.1:" + std::to_string(m_port) + "/");
        return settings;
    }

  private:
    std::map<std::string, std::string> m_files;
    httplib::Server m_server;
    int m_port = 0;
    std::thread m_thread;
};

Repositories& repositories() {
    static Repositories instance;
    return instance;
}

// A whole load of German with nothing cached: six programs at once, the table and the cache file.
void coldBuildOfOneLanguage(benchmark::State& state) {
    const auto caches = std::filesystem::temp_directory_path() / "orvel-bench-software-reference";
    orvel::CachesFolder::setOverride(caches);
    for (auto _ : state) {
        std::filesystem::remove_all(caches);
        auto reference = SoftwareReference::load("de", {}, repositories().settings());
        if (!reference || reference->table.empty())
            state.SkipWithError("the build found nothing");
        benchmark::DoNotOptimize(reference);
    }
    std::filesystem::remove_all(caches);
    orvel::CachesFolder::setOverride(std::nullopt);
}
BENCHMARK(coldBuildOfOneLanguage)->Unit(benchmark::kMillisecond)->UseRealTime();

// One program's task of that build, English files downloaded afresh every time.
void fetchOfOneProgram(benchmark::State& state) {
    const auto source = SoftwareReference::allSources[static_cast<std::size_t>(state.range(0))];
    state.SetLabel(std::string(orvel::displayName(source)));
    const auto codes = *orvel::SourceCodes::lookup("de");
    const auto settings = repositories().settings();
    std::size_t pairCount = 0;
    for (auto _ : state) {
        const orvel::Downloader downloader(std::nullopt, settings.pause, settings.limits);
        const auto outcome = SoftwareReference::fetch(source, codes, downloader, settings.hosts, {});
        if (outcome.failed || outcome.pairs.empty())
            state.SkipWithError("the program gave nothing");
        pairCount = outcome.pairs.size();
    }
    state.counters["pairs"] = static_cast<double>(pairCount);
}
BENCHMARK(fetchOfOneProgram)->DenseRange(0, 5)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
