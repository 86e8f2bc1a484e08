#include <gtest/gtest.h>

#include "engine/apps/Pseudo.h"

namespace orvel {
namespace {

TEST(Pseudo, AccentTableHasTwentyLetters) {
    const auto& accents = Pseudo::accents();
    EXPECT_EQ(accents.size(), 20u);
    EXPECT_EQ(accents.at("s"), "š");
    EXPECT_EQ(accents.at("Z"), "Ž");
    EXPECT_EQ(Pseudo::accent("bdf BDF 123 —"), "bdf BDF 123 —");
    // A letter with a combining mark is another character and keeps its look.
    EXPECT_EQ(Pseudo::accent("a\u0308"), "a\u0308");
}

TEST(Pseudo, LengthensByThreeDotsPerTenLetters) {
    EXPECT_EQ(Pseudo::localize(""), "⟦·⟧");
    EXPECT_EQ(Pseudo::localize("Save"), "⟦Šávé·⟧");
    EXPECT_EQ(Pseudo::localize("Open %@ files"), "⟦Ópéñ %@ fíléš··⟧");
    EXPECT_EQ(Pseudo::localize("Customize"), "⟦Çúštómížé··⟧");
    EXPECT_EQ(Pseudo::localize("Synchronize"), "⟦Šýñçhróñížé···⟧");
    // Other scripts keep their letters, which still count.
    EXPECT_EQ(Pseudo::localize("Привет мир!"), "⟦Привет мир!··⟧");
}

TEST(Pseudo, KeepsSpecifiersPercentSignsAndVariables) {
    // l, l and d of the second specifier count: nine letters, two dots.
    EXPECT_EQ(Pseudo::localize("Copy %2$lld of %1$@"), "⟦Çópý %2$lld óf %1$@··⟧");
    EXPECT_EQ(Pseudo::localize("100%% done"), "⟦100%% dóñé·⟧");
    EXPECT_EQ(Pseudo::localize("Hello ${name}"), "⟦Hélló ${name}··⟧");
    EXPECT_EQ(Pseudo::localize("Cost ${"), "⟦Çóšt ${·⟧");
    EXPECT_EQ(Pseudo::localize("${a} and ${b}"), "⟦${a} áñd ${b}·⟧");
    EXPECT_EQ(Pseudo::localize("%d%%"), "⟦%d%%·⟧");
}

} // namespace
} // namespace orvel
