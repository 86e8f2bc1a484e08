// A project file whose "language" was edited by hand to name another language: whatever writes the
// project afterwards (the background update, Translate Changes, an edit's write-back) writes the file
// and the overlay of the language the file is named after, and nothing of the other language.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/FileIO.h"
#include "core/OrvelPaths.h"
#include "core/StringsFiles.h"
#include "tests/Orvel/state/LibraryFixture.h"

namespace orvel::testing {
namespace {

namespace fs = std::filesystem;

std::string id(const std::string& key) {
    return SourceString::id("Main", key);
}

class HandEditedLanguageTest : public LibraryTest {
  protected:
    HandEditedLanguageTest() { preferences.setEndpoint("http://127.0.0.1:9/v1"); }

    // The app with "a", "b" and "c" whose German project translated and recorded "a" and says "fr" inside.
    TranslatableApp appWithHandEditedProject(const std::string& identifier, const std::string& folder) {
        const TranslatableApp notes =
            bundle(identifier, "1", folder, {{"a", "Text a"}, {"b", "Text b"}, {"c", "Text c"}});
        TranslationProject project;
        project.app = identifier;
        project.language = "de";
        StringTranslation a = translated("de a");
        a.source = "Text a";
        project.translations[id("a")] = a;
        project.sourceText = std::map<std::string, std::string>{{id("a"), "Text a"}};
        project.save(notes);
        const fs::path file = TranslationProject::fileURL(notes, "de");
        std::string bytes = FileIO::read(file);
        const std::string german = R"("language": "de")";
        const std::size_t at = bytes.find(german);
        EXPECT_NE(at, std::string::npos);
        bytes.replace(at, german.size(), R"("language": "fr")");
        StringsFiles::writeAtomically(bytes, file);
        return notes;
    }
};

TEST_F(HandEditedLanguageTest, EveryWriteGoesToTheLanguageTheFileIsNamedAfter) {
    struct Case {
        const char* name;
        // The library brings the project up to date in the background as it starts.
        bool automatic;
        std::function<void(Library&, const TranslatableApp&)> write;
        // The German translations on disk afterwards, by key.
        std::map<std::string, std::string> expected;
    };
    const std::map<std::string, std::string> updated{{"a", "de a"}, {"b", "de:Text b"}, {"c", "de:Text c"}};
    const std::vector<Case> cases{
        {"the background update", true, [](Library&, const TranslatableApp&) {}, updated},
        {"Translate Changes", false,
         [&](Library& library, const TranslatableApp& app) {
             Workspace& workspace = library.workspace(app);
             settle();
             workspace.updateTranslations();
             settle();
         },
         updated},
        {"an edit written back",
         false,
         [&](Library& library, const TranslatableApp& app) {
             Workspace& workspace = library.workspace(app);
             settle();
             workspace.setText("Meins", id("a"));
             timers.advance(Workspace::writeBackDelay);
             settle();
         },
         {{"a", "Meins"}}},
    };
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        preferences.setAutoUpdate(c.automatic);
        const std::string number = std::to_string(++row);
        const TranslatableApp app =
            appWithHandEditedProject("com.example.edited" + number, "Edited" + number);
        defaults.set("language." + app.bundleIdentifier, std::string("de"));
        engine.install({app});
        auto library = makeLibrary();
        settle();

        c.write(*library, app);

        EXPECT_FALSE(fs::exists(TranslationProject::fileURL(app, "fr")));
        EXPECT_FALSE(fs::exists(OrvelPaths::lproj("fr", app.dataFolder())));
        const TranslationProject stored = TranslationProject::load(app, "de");
        std::map<std::string, std::string> texts;
        for (const auto& [key, translation] : stored.translations)
            texts[std::string(SourceString::splitId(key).second)] = translation.text.value_or("");
        EXPECT_EQ(texts, c.expected);
        const auto overlay =
            StringsFiles::readStrings(OrvelPaths::lproj("de", app.dataFolder()) / "Main.strings");
        EXPECT_EQ(overlay, (StringsFiles::SimpleTable(c.expected.begin(), c.expected.end())));
    }
}

} // namespace
} // namespace orvel::testing
