#include <gtest/gtest.h>

#include <regex>

#include <algorithm>
#include <mutex>

#include "SampleProjects.h"
#include "core/CachesFolder.h"
#include "engine/reference/SoftwareReferenceCache.h"
#include "tests/support/ScratchFolder.h"

using namespace orvel;
using namespace orvel::testing;
using Cache = SoftwareReference::Cache;

namespace {

class SoftwareReferenceLoad : public ::testing::Test {
  protected:
    SoftwareReferenceLoad() { CachesFolder::setOverride(caches.path()); }
    ~SoftwareReferenceLoad() override { CachesFolder::setOverride(std::nullopt); }

    std::optional<SoftwareReference> load(const std::string& language, const ReferenceRepositories& repos) {
        return SoftwareReference::load(
            language,
            [this](const std::string& line) {
                std::lock_guard guard(m_lock);
                m_lines.push_back(line);
            },
            repos.settings());
    }

    // The progress lines so far, sorted: the programs report in the order they finish. Their durations
    // depend on the machine's load, so every duration reads as 0 s here.
    std::vector<std::string> lines() {
        std::lock_guard guard(m_lock);
        std::vector<std::string> sorted;
        static const std::regex duration(" in [0-9]+ s$");
        for (const std::string& line : m_lines)
            sorted.push_back(std::regex_replace(line, duration, " in 0 s"));
        std::sort(sorted.begin(), sorted.end());
        m_lines.clear();
        return sorted;
    }

    static Cache readCache(const std::string& identifier) {
        return Cache::decoded(readBytes(SoftwareReference::cacheURL(identifier)));
    }

    // A cache of `identifier` with one entry, as an earlier build wrote it.
    static Cache earlierCache(const std::string& identifier, std::vector<std::string> failed,
                              std::chrono::seconds age) {
        Cache cache;
        cache.language = identifier;
        cache.built = std::chrono::floor<std::chrono::seconds>(Dates::now()) - age;
        cache.pairs = {{"firefox", 1}};
        cache.failed = std::move(failed);
        cache.table = {{"earlier", {{"Früher", {{"firefox", 1}}}}}};
        cache.style = {{"firefox", StyleStats{}}};
        return cache;
    }

    static std::filesystem::path write(const Cache& cache,
                                       const std::function<void(json::Json&)>& change = {}) {
        json::Json value = cache.toJson();
        if (change)
            change(value);
        const auto file = SoftwareReference::cacheURL(cache.language);
        std::filesystem::create_directories(file.parent_path());
        writeBytes(file, json::dump(value));
        return file;
    }

    ScratchFolder caches;

  private:
    std::mutex m_lock;
    std::vector<std::string> m_lines;
};

const std::string buildingGerman = "Building the software reference for German from Android, Chromium, "
                                   "Firefox, Thunderbird, LibreOffice and VLC";

} // namespace

TEST_F(SoftwareReferenceLoad, ALanguageIsBuiltOnceAndASecondOneReusesTheKeptEnglishFiles) {
    ReferenceRepositories repos;
    serveAllProjects(repos);
    const auto german = load("de", repos);
    ASSERT_TRUE(german);
    EXPECT_EQ(german->language, "de");
    const std::map<std::string, std::int64_t> pairs{{"android", 2},     {"chromium", 5},    {"firefox", 4},
                                                    {"libreoffice", 5}, {"thunderbird", 1}, {"vlc", 4}};
    EXPECT_EQ(german->pairs, pairs);
    EXPECT_TRUE(german->failed.empty());
    EXPECT_EQ(german->table.at("cancel"),
              (std::vector<SoftwareReference::Entry>{
                  {"Abbrechen", {{"android", 2}, {"libreoffice", 1}, {"vlc", 1}}}}));
    EXPECT_EQ(german->style.size(), 6u);
    EXPECT_TRUE(german->phraseIndex);
    EXPECT_EQ(lines(), (std::vector<std::string>{"  Android: 2 pairs in 0 s", "  Chromium: 5 pairs in 0 s",
                                                 "  Firefox: 4 pairs in 0 s", "  LibreOffice: 5 pairs in 0 s",
                                                 "  Thunderbird: 1 pairs in 0 s", "  VLC: 4 pairs in 0 s",
                                                 buildingGerman}));
    const Cache written = readCache("de");
    EXPECT_EQ(written.table, german->table);
    EXPECT_EQ(written.pairs, pairs);

    // The cache serves the next load without a request or a message.
    const std::size_t afterGerman = repos.requested().size();
    const auto again = load("de", repos);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->table, german->table);
    EXPECT_EQ(repos.requested().size(), afterGerman);
    EXPECT_TRUE(lines().empty());

    const auto french = load("fr", repos);
    ASSERT_TRUE(french);
    EXPECT_EQ(french->table.at("cancel").front().text, "Annuler");
    const auto frenchLines = lines();
    EXPECT_NE(std::find(frenchLines.begin(), frenchLines.end(),
                        "  Thunderbird: skipped, it has no fr in Thunderbird 60"),
              frenchLines.end());
    EXPECT_NE(std::find(frenchLines.begin(), frenchLines.end(), "  LibreOffice: skipped, it has no fr"),
              frenchLines.end());
    EXPECT_TRUE(french->failed.empty());
    const auto requested = repos.requested();
    for (auto target = requested.begin() + static_cast<std::ptrdiff_t>(afterGerman);
         target != requested.end(); ++target) {
        for (const std::string english : {".grd?", ".grdp", "/values.tar.gz", "en-US", "l10n-changesets"})
            EXPECT_EQ(target->find(english), std::string::npos) << *target;
    }
}

TEST_F(SoftwareReferenceLoad, TheCacheFileDecidesWhetherALoadBuilds) {
    using namespace std::chrono_literals;
    const struct {
        std::string name;
        Cache cache;
        std::function<void(json::Json&)> change;
        bool builds;
    } cases[] = {
        {"version 1", earlierCache("de", {}, 1h), [](json::Json& v) { v["version"] = 1; }, true},
        {"a failed program two hours ago", earlierCache("de", {"chromium"}, 2h), {}, false},
        {"a failed program two days ago", earlierCache("de", {"chromium"}, 48h), {}, true},
        {"nothing failed a year ago", earlierCache("de", {}, 24h * 365), {}, false},
        {"no style", earlierCache("de", {}, 1h), [](json::Json& v) { v.erase("style"); }, true},
        {"a date with fractions", earlierCache("de", {}, 1h),
         [](json::Json& v) { v["built"] = "2026-03-01T09:30:00.250Z"; }, true},
        {"not a record", earlierCache("de", {}, 1h), [](json::Json& v) { v = json::Json::array(); }, true},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        ReferenceRepositories repos;
        serveVlc(repos);
        write(row.cache, row.change);
        const auto loaded = load("de", repos);
        ASSERT_TRUE(loaded);
        EXPECT_EQ(!repos.requested().empty(), row.builds);
        EXPECT_EQ(loaded->table.contains("earlier"), !row.builds);
        EXPECT_EQ(readCache("de").table.contains("cancel"), row.builds);
        EXPECT_EQ(readCache("de").version, 2);
        lines();
    }
}

TEST_F(SoftwareReferenceLoad, ABuildThatFindsNothingKeepsTheOldFile) {
    using namespace std::chrono_literals;
    const struct {
        std::string name;
        bool oldCache;
        // What every address answers.
        int status;
    } cases[] = {
        {"offline with a stale cache", true, 503},
        {"every program missing with a stale cache", true, 404},
        {"offline without a cache", false, 503},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove_all(caches.path());
        LoopbackServer down;
        down.reply({Reply(row.status, "")});
        SoftwareReference::BuildSettings settings;
        settings.hosts = ReferenceHosts::all(down.url("/"));
        settings.pause = [](std::chrono::duration<double>, const std::stop_token&) {};
        const auto file = SoftwareReference::cacheURL("de");
        std::string before;
        if (row.oldCache)
            before = readBytes(write(earlierCache("de", {"vlc"}, 48h)));

        const auto loaded = SoftwareReference::load("de", {}, settings);
        EXPECT_FALSE(down.requests().empty());
        EXPECT_EQ(loaded.has_value(), row.oldCache);
        EXPECT_TRUE(!loaded || loaded->table.contains("earlier"));
        EXPECT_EQ(std::filesystem::exists(file), row.oldCache);
        EXPECT_EQ(row.oldCache ? readBytes(file) : std::string(), before);
    }
}

// A day-old cache with a failure is built again; a program that fails again must not take what it gave
// earlier out of the cache, while one that answers replaces it.
TEST_F(SoftwareReferenceLoad, AProgramThatFailsInARebuildKeepsWhatTheOldCacheHadFromIt) {
    using namespace std::chrono_literals;
    const std::string changesetsPath = std::string(ReferenceRepositories::firefoxRelease) +
                                       "raw-file/FIREFOX_60_0_RELEASE/browser/locales/l10n-changesets.json";
    struct Row {
        const char* name;
        bool firefoxAnswers;
        bool keepsEarlier;
    };
    const std::vector<Row> rows = {
        {"Firefox fails again", false, true},
        {"Firefox answers", true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove_all(caches.path());
        write(earlierCache("de", {"vlc"}, 48h));
        ReferenceRepositories repos;
        serveVlc(repos);
        if (row.firefoxAnswers)
            serveMozilla(repos);
        else
            repos.serve(changesetsPath, "", 503);

        ASSERT_TRUE(load("de", repos));
        const Cache written = readCache("de");
        EXPECT_TRUE(written.table.contains("cancel"));
        EXPECT_EQ(written.table.contains("earlier"), row.keepsEarlier);
        if (row.keepsEarlier) {
            EXPECT_EQ(written.table.at("earlier"),
                      (std::vector<SoftwareReference::Entry>{{"Früher", {{"firefox", 1}}}}));
            EXPECT_EQ(written.pairs.at("firefox"), 1);
            EXPECT_TRUE(written.style.contains("firefox"));
            EXPECT_TRUE(std::find(written.failed.begin(), written.failed.end(), "firefox") !=
                        written.failed.end());
        }
        EXPECT_TRUE(written.pairs.contains("vlc"));
    }
}

TEST(SoftwareReferenceCacheMerge, OnlyProgramsThatFailedNowKeepTheirEarlierUses) {
    using Entries = std::vector<SoftwareReference::Entry>;
    Cache earlier;
    earlier.pairs = {{"firefox", 5}, {"vlc", 7}};
    earlier.style = {{"firefox", StyleStats{}}, {"vlc", StyleStats{}}};
    earlier.table = {{"open", {{"Öffnen", {{"firefox", 3}, {"vlc", 2}}}, {"Aufmachen", {{"firefox", 1}}}}},
                     {"close", {{"Schließen", {{"vlc", 4}}}}}};
    struct Row {
        const char* name;
        std::vector<std::string> failedNow;
        SoftwareReference::Table builtNow;
        SoftwareReference::Table expected;
    };
    const std::vector<Row> rows = {
        {"nothing failed: the new table stands",
         {},
         {{"open", {{"Öffnen", {{"android", 1}}}}}},
         {{"open", {{"Öffnen", {{"android", 1}}}}}}},
        {"a failed program without earlier pairs adds nothing",
         {"chromium"},
         {{"open", {{"Öffnen", {{"android", 1}}}}}},
         {{"open", {{"Öffnen", {{"android", 1}}}}}}},
        {"a failed program's uses join the same translation in any letter case",
         {"firefox"},
         {{"open", {{"öffnen", {{"android", 1}}}}}},
         {{"open", Entries{{"öffnen", {{"android", 1}, {"firefox", 3}}}, {"Aufmachen", {{"firefox", 1}}}}}}},
        {"texts only the failed program had come back",
         {"vlc"},
         {},
         {{"open", {{"Öffnen", {{"vlc", 2}}}}}, {"close", {{"Schließen", {{"vlc", 4}}}}}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Cache built;
        built.failed = row.failedNow;
        built.table = row.builtNow;
        built.pairs = {{"android", 1}};
        built.keepWhatFailedProgramsGave(earlier);
        EXPECT_EQ(built.table, row.expected);
        for (const std::string& program : row.failedNow) {
            EXPECT_EQ(built.pairs.contains(program), earlier.pairs.contains(program)) << program;
            EXPECT_EQ(built.style.contains(program), earlier.style.contains(program)) << program;
        }
        EXPECT_EQ(built.failed, row.failedNow);
    }
}

TEST_F(SoftwareReferenceLoad, EachProgramReportsItsOutcome) {
    ReferenceRepositories repos;
    repos.vlcCatalogue(
        "nn", poCatalogue("msgid \"Cancel\"\nmsgstr \"Avbryt\"\n\nmsgid \"Cancel\"\nmsgstr \"Avbryt\"\n"));
    repos.serve(std::string(ReferenceRepositories::libreOfficeListingPath) + "nn?recursive=1", "", 403);
    repos.serve(std::string(ReferenceRepositories::firefoxRelease) +
                    "raw-file/FIREFOX_60_0_RELEASE/browser/locales/l10n-changesets.json",
                changesets("de", "d1"));
    ASSERT_TRUE(load("nn-NO", repos));
    EXPECT_EQ(lines(),
              (std::vector<std::string>{
                  "  Android: no Norwegian Nynorsk translation",
                  "  Chromium: no Norwegian Nynorsk translation",
                  "  Firefox: skipped, it has no nn-NO in Firefox 60",
                  "  LibreOffice: skipped, HTTP 403 from 127.0.0.1",
                  "  Thunderbird: skipped, it has no l10n-changesets.json",
                  "  VLC: 1 pairs in 0 s",
                  "Building the software reference for Norwegian Nynorsk (Norway) from Android, Chromium, "
                  "Firefox, Thunderbird, LibreOffice and VLC",
              }));
    const Cache written = readCache("nn");
    EXPECT_EQ(written.pairs, (std::map<std::string, std::int64_t>{{"vlc", 1}}));
    EXPECT_EQ(written.failed, std::vector<std::string>{"libreoffice"});
    EXPECT_EQ(written.style.size(), 1u);
    EXPECT_TRUE(written.style.contains("vlc"));
}

TEST_F(SoftwareReferenceLoad, TheFileIsNamedByTheRowAndOnlyLanguagesAreLookedUp) {
    ReferenceRepositories repos;
    repos.vlcCatalogue("pt_BR", poCatalogue("msgid \"Cancel\"\nmsgstr \"Cancelar\"\n"));
    const auto portuguese = load("pt", repos);
    ASSERT_TRUE(portuguese);
    EXPECT_EQ(portuguese->language, "pt");
    EXPECT_EQ(SoftwareReference::cacheURL("pt-BR"), caches.path() / "Orvel/software-reference/v2-pt-BR.json");
    EXPECT_EQ(readCache("pt-BR").language, "pt-BR");

    const std::size_t before = repos.requested().size();
    for (const std::string tag : {"en", "en-GB", "de/../../x", "../de", "de.json", "d e", ""}) {
        SCOPED_TRACE(tag);
        EXPECT_FALSE(load(tag, repos));
    }
    EXPECT_EQ(repos.requested().size(), before);
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(caches.path()))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    EXPECT_EQ(files, std::vector<std::filesystem::path>{SoftwareReference::cacheURL("pt-BR")});
}

TEST(SoftwareReferenceCache, TheFileIsOneLineOfSortedKeysWithWholeSeconds) {
    Cache cache;
    cache.language = "de";
    cache.built = *Dates::parseIso8601("2026-03-01T09:30:00Z");
    cache.pairs = {{"vlc", 1}};
    cache.table = {{"and/or", {{"und/oder", {{"vlc", 1}}}}}};
    cache.style = {{"vlc", StyleStats{}}};
    const std::string encoded = cache.encoded();
    EXPECT_EQ(encoded.find('\n'), std::string::npos);
    EXPECT_TRUE(encoded.starts_with(
        R"({"built":"2026-03-01T09:30:00Z","failed":[],"language":"de","pairs":{"vlc":1},)"))
        << encoded;
    EXPECT_NE(encoded.find(R"("table":{"and/or":[{"counts":{"vlc":1},"text":"und/oder"}]},"version":2})"),
              std::string::npos)
        << encoded;
    EXPECT_EQ(Cache::decoded(encoded), cache);

    for (const std::string key : {"version", "language", "built", "pairs", "failed", "table", "style"}) {
        SCOPED_TRACE(key);
        json::Json value = json::parse(encoded);
        value.erase(key);
        EXPECT_THROW(Cache::decoded(json::dump(value)), json::DecodingError);
    }
}
