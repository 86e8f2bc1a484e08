#pragma once
// A generated target app under a scratch home folder, and translations to publish for it.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "core/Markers.h"
#include "core/OrvelPaths.h"
#include "engine/apps/TranslatableApp.h"
#include "engine/apps/TranslationProject.h"
#include "tests/engine/apps/BundleBuilder.h"
#include "tests/engine/apps/FakeAppPlatform.h"
#include "tests/support/ScratchFolder.h"

namespace orvel::testing {

// "Main": Open, Save, a plural "files" counted by its first argument, and one counted by its second;
// "Alerts": Quit.
inline const std::map<std::string, std::string> generatedCatalogs{
    {"Main.xcstrings", R"({"sourceLanguage": "en", "strings": {
        "Open": {}, "Save": {},
        "files": {"localizations": {"en": {"variations": {"plural": {
            "one": {"stringUnit": {"value": "%lld file"}},
            "other": {"stringUnit": {"value": "%lld files"}}}}}}},
        "moved": {"localizations": {"en": {"variations": {"plural": {
            "one": {"stringUnit": {"value": "Moved %2$ld item to %1$@"}},
            "other": {"stringUnit": {"value": "Moved %2$ld items to %1$@"}}}}}}}}})"},
    {"Alerts.xcstrings", R"({"sourceLanguage": "en", "strings": {"Quit": {}}})"}};

inline std::string idOf(const std::string& table, const std::string& key) {
    return SourceString::id(table, key);
}

inline StringTranslation textTranslation(std::string source, std::string text) {
    StringTranslation translation;
    translation.text = std::move(text);
    translation.origin = StringTranslation::Origin::model;
    translation.model = "test-model";
    translation.source = std::move(source);
    translation.updated = Dates::now();
    return translation;
}

inline StringTranslation pluralTranslation(std::string source, std::map<std::string, std::string> forms) {
    StringTranslation translation = textTranslation(std::move(source), "");
    translation.text.reset();
    translation.plural = std::move(forms);
    return translation;
}

class OverlayTest : public ::testing::Test {
  protected:
    OverlayTest() {
        OrvelPaths::setHomeOverride(scratch.path() / "home");
        const auto bundle = makeBundle(scratch, "Notes.app", {{"CFBundleIdentifier", "com.example.Notes"}},
                                       generatedCatalogs);
        app = *TranslatableApp::open(bundle, platform);
        strings = app.loadStrings({});
        project.app = app.bundleIdentifier;
        project.language = "de";
    }
    ~OverlayTest() override { OrvelPaths::setHomeOverride(std::nullopt); }

    std::filesystem::path overlay(const std::string& language = "de") const {
        return OrvelPaths::lproj(language, app.dataFolder());
    }

    ScratchFolder scratch;
    FakeAppPlatform platform;
    TranslatableApp app;
    std::vector<SourceString> strings;
    TranslationProject project;
};

} // namespace orvel::testing
