#include <QSignalSpy>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/Orvel/state/WorkspaceFixture.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;
using Codes = std::vector<std::string>;
using Choices = std::vector<std::optional<std::string>>;

class WorkspaceLanguageTest : public testing::WorkspaceTest {
  protected:
    // A fresh home and settings with projects of `codes`, and the app opened in the first of them.
    std::unique_ptr<Workspace> openWithProjects(const Codes& codes) {
        fs::remove_all(scratch.path() / "home");
        fs::remove_all(scratch.path() / "settings");
        const TranslatableApp app = makeApp();
        for (const std::string& code : codes)
            writeProject(app, code);
        return open(app);
    }

    std::optional<std::string> storedChoice() const {
        return defaults.string(std::string("language.") + bundleID);
    }

    // Every file and folder under the scratch root with its time of last change.
    std::map<fs::path, fs::file_time_type> filesOnDisk() const {
        std::map<fs::path, fs::file_time_type> files;
        for (const auto& entry : fs::recursive_directory_iterator(scratch.path()))
            files[entry.path()] = entry.last_write_time();
        return files;
    }
};

TEST_F(WorkspaceLanguageTest, AChoiceIsStoredAndChoosingNoneClosesTheChecklistAndKeepsIt) {
    struct Case {
        const char* name;
        Choices choices;
        std::optional<std::string> expectedLanguage;
        std::optional<std::string> expectedStored;
        bool expectedChecklist;
    };
    const std::vector<Case> cases{
        {"a fresh language", {"de"}, "de", "de", true},
        {"a language, then another", {"de", "fr"}, "fr", "fr", true},
        {"a language, then none", {"de", std::nullopt}, std::nullopt, "de", false},
        {"none at all", {std::nullopt}, std::nullopt, std::nullopt, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto workspace = openWithProjects({});
        for (const auto& choice : c.choices)
            workspace->selectLanguage(choice);
        EXPECT_EQ(workspace->language(), c.expectedLanguage);
        EXPECT_EQ(workspace->project().has_value(), c.expectedLanguage.has_value());
        if (workspace->project()) {
            EXPECT_EQ(workspace->project()->language, *c.expectedLanguage);
        }
        EXPECT_EQ(storedChoice(), c.expectedStored);
        EXPECT_EQ(workspace->checklistOpen(), c.expectedChecklist);
    }
}

TEST_F(WorkspaceLanguageTest, AFinishedChecklistStaysClosedForItsLanguageOnly) {
    struct Case {
        const char* name;
        std::optional<std::string> finishedIn;
        std::string expectedKey;
        bool expectedOpenInGerman;
    };
    const std::vector<Case> cases{
        {"finished in German", "de", std::string("checklistDone.") + bundleID + ".de", false},
        {"finished in French", "fr", std::string("checklistDone.") + bundleID + ".fr", true},
        {"finished without a language", std::nullopt, std::string("checklistDone.") + bundleID + ".", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto workspace = openWithProjects({});
        workspace->selectLanguage(c.finishedIn);
        workspace->setChecklistOpen(true);
        EXPECT_EQ(workspace->checklistKey(), c.expectedKey);
        workspace->finishChecklist();
        EXPECT_FALSE(workspace->checklistOpen());
        EXPECT_EQ(defaults.boolean(c.expectedKey), true);

        workspace->selectLanguage("de");
        EXPECT_EQ(workspace->checklistOpen(), c.expectedOpenInGerman);
    }
}

TEST_F(WorkspaceLanguageTest, AnAddedLanguageIsListedOnceInCodeOrderChosenAndSaved) {
    struct Case {
        const char* name;
        Codes existing;
        std::string added;
        Codes expectedLanguages;
        int expectedListChanges;
    };
    const std::vector<Case> cases{
        {"a new language", {"de", "fr"}, "es", {"de", "es", "fr"}, 1},
        {"a language the app has", {"de", "fr"}, "fr", {"de", "fr"}, 0},
        {"plain code order", {"pt-BR", "zh"}, "pt", {"pt", "pt-BR", "zh"}, 1},
        {"the first language", {}, "de", {"de"}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto workspace = openWithProjects(c.existing);
        QSignalSpy listChanges(workspace.get(), &Workspace::languagesChanged);
        workspace->addLanguage(c.added);
        EXPECT_EQ(workspace->languages(), c.expectedLanguages);
        EXPECT_EQ(listChanges.count(), c.expectedListChanges);
        EXPECT_EQ(workspace->language(), c.added);
        ASSERT_TRUE(workspace->project().has_value());
        EXPECT_EQ(workspace->project()->language, c.added);
        EXPECT_TRUE(fs::is_regular_file(TranslationProject::fileURL(workspace->app(), c.added)));
        EXPECT_EQ(workspace->storedLanguages(), c.expectedLanguages);
    }
}

TEST_F(WorkspaceLanguageTest, ACodeThatNamesNoLanguageIsRefusedWithoutTouchingAFile) {
    const Codes hostile{"../evil",
                        "de/../../x",
                        "",
                        "..",
                        "de.json",
                        "de ",
                        " de",
                        "de-",
                        "-de",
                        "d e",
                        "de\\x",
                        "1de",
                        std::string("de\0x", 4),
                        "de_" + std::string(70, 'x')};
    const auto workspace = openWithProjects({"de"});
    const auto before = filesOnDisk();
    for (const std::string& code : hostile) {
        SCOPED_TRACE(code);
        workspace->selectLanguage(code);
        workspace->addLanguage(code);
        EXPECT_EQ(workspace->language(), "de");
        ASSERT_TRUE(workspace->project().has_value());
        EXPECT_EQ(workspace->project()->language, "de");
        EXPECT_EQ(workspace->languages(), Codes{"de"});
        EXPECT_EQ(storedChoice(), "de");
    }
    EXPECT_EQ(filesOnDisk(), before);
}

} // namespace
} // namespace orvel
