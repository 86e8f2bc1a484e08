// Every language the New Language sheet offers draws in its own script with the fonts the project
// installs: no letter of a native name, nor of its name in the interface language, falls to the empty
// box of a missing glyph.
#include "Orvel/state/LanguageNames.h"
#include "Orvel/views/LanguageCandidates.h"
#include "core/Languages.h"

#include <QApplication>
#include <QGlyphRun>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvel {
namespace {

// How many glyphs of `text` the application's font and its fallbacks draw as the empty box.
int missingGlyphs(const QString& text) {
    QTextLayout layout(text, QApplication::font());
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    int missing = 0;
    for (const QGlyphRun& run : layout.glyphRuns())
        missing += static_cast<int>(run.glyphIndexes().count(0));
    return missing;
}

TEST(LanguageScripts, EveryOfferedLanguageDrawsInItsOwnScript) {
    std::vector<std::string> unreadable;
    for (const std::string& code : LanguageCandidates::shared())
        for (const std::string& name : {Languages::nativeName(code), displayName(code)}) {
            if (const int missing = missingGlyphs(QString::fromStdString(name)); missing > 0)
                unreadable.push_back(code + " \"" + name + "\": " + std::to_string(missing) + " missing");
        }
    EXPECT_TRUE(unreadable.empty()) << ::testing::PrintToString(unreadable);
    // The names of the scripts that fonts of Latin letters alone leave empty.
    for (const char* code : {"zh-Hant", "ja", "ko", "ar", "hi", "th", "he"})
        EXPECT_EQ(missingGlyphs(QString::fromStdString(Languages::nativeName(code))), 0) << code;
}

} // namespace
} // namespace orvel
