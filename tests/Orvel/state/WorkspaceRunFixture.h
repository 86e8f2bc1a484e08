#pragma once
// A workspace whose runs go to the scripted model: the app "Notes" with a few strings, a German project,
// and model preferences with an endpoint that needs no Apple model check and small batches.

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/Orvel/state/WorkspaceFixture.h"

namespace orvel::testing {

// Whether the changes the workspace shows are those a whole comparison of its project gives.
inline bool matchesWholeComparison(const Workspace& workspace) {
    const StringChanges whole = StringChanges::compute(*workspace.project(), workspace.strings());
    const StringChanges& shown = workspace.changes();
    return shown.toTranslate() == whole.toTranslate() && shown.moved == whole.moved &&
           shown.removed == whole.removed && shown.unchanged == whole.unchanged;
}

// Whether the counts the workspace shows are those of a pass over every string.
inline bool matchesWholeCount(const Workspace& workspace) {
    int translatable = 0;
    int translated = 0;
    int edited = 0;
    int problems = 0;
    for (const SourceString& string : workspace.strings()) {
        if (!string.translate)
            continue;
        ++translatable;
        const StringTranslation* translation = workspace.translation(string.id());
        translated += translation && !translation->isEmpty();
        edited += translation && translation->origin == StringTranslation::Origin::person;
        problems += workspace.problem(string.id()).has_value();
    }
    const std::optional<int> problemCount = workspace.problemCount();
    return workspace.translatableCount() == translatable && workspace.translatedCount() == translated &&
           workspace.count(Workspace::Filter::edited) == edited &&
           problemCount == (workspace.problemsReady() ? std::optional(problems) : std::nullopt);
}

class WorkspaceRunTest : public WorkspaceTest {
  protected:
    static constexpr int batchSize = 2;

    WorkspaceRunTest() {
        preferences.setEndpoint("http://127.0.0.1:9/v1");
        preferences.setBatchSize(batchSize);
    }

    static std::string id(const std::string& key) { return SourceString::id("Main", key); }

    // The app with one catalog string per key, each English "Text <key>".
    // Writes the German project of `app` that translated and recorded `translatedKeys` (nothing recorded
    // when that is empty), and chooses German for the next open.
    void writeRecordedGerman(const TranslatableApp& app, const std::vector<std::string>& translatedKeys) {
        TranslationProject project;
        project.app = app.bundleIdentifier;
        project.language = "de";
        if (!translatedKeys.empty())
            project.sourceText.emplace();
        for (const std::string& key : translatedKeys) {
            StringTranslation translation = translated("de " + key);
            translation.source = "Text " + key;
            project.translations[id(key)] = translation;
            project.sourceText->emplace(id(key), "Text " + key);
        }
        project.save(app);
        defaults.set("language." + std::string(bundleID), std::string("de"));
    }

    TranslatableApp appWith(const std::vector<std::string>& keys) {
        std::map<std::string, std::string> catalog;
        for (const std::string& key : keys)
            catalog[key] = "Text " + key;
        return makeApp(catalog);
    }

    // Opens the app in German, with the German project holding `translations` (by key).
    std::unique_ptr<Workspace> openGerman(const TranslatableApp& app,
                                          const std::map<std::string, StringTranslation>& translations = {}) {
        std::map<std::string, StringTranslation> byID;
        for (const auto& [key, translation] : translations)
            byID[id(key)] = translation;
        writeProject(app, "de", byID);
        defaults.set("language." + std::string(bundleID), std::string("de"));
        return open(app);
    }

    // Opens appWith({"a", ..., "f"}) in German with a project whose changes are of every kind: c, d, e are
    // new; f takes g's translation along; b is reworded.
    std::unique_ptr<Workspace> openWithChanges(const TranslatableApp& app) {
        TranslationProject project;
        project.app = app.bundleIdentifier;
        project.language = "de";
        project.sourceText = std::map<std::string, std::string>{
            {id("a"), "Text a"}, {id("b"), "Old b"}, {SourceString::id("Main", "g"), "Text f"}};
        StringTranslation a = translated("A");
        a.source = "Text a";
        StringTranslation b = translated("B");
        b.source = "Old b";
        StringTranslation g = translated("F");
        g.source = "Text f";
        project.translations = {{id("a"), a}, {id("b"), b}, {SourceString::id("Main", "g"), g}};
        project.save(app);
        defaults.set("language." + std::string(bundleID), std::string("de"));
        auto workspace = open(app);
        EXPECT_EQ(workspace->changes().toTranslate().size(), 4u);
        return workspace;
    }

    // Waits until the workspace's run has ended and the model has returned from every run so far.
    void waitForEnd(const Workspace& workspace) {
        ASSERT_TRUE(processUntil([&] {
            return !workspace.translating() &&
                   engine.model->finished() == static_cast<int>(engine.model->calls().size());
        }));
        processPendingEvents();
    }

    std::size_t runs() const { return engine.model->calls().size(); }

    // Waits, taking no event, until the model holds the run: what it delivered before the hold is still
    // on its way to the main thread. False after ten seconds.
    bool heldWithoutEvents() const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!engine.model->held() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
        return engine.model->held();
    }
};

} // namespace orvel::testing
