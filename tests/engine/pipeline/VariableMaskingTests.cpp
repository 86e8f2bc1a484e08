#include <gtest/gtest.h>

#include "engine/pipeline/VariableMasking.h"

using namespace orvel;
using VariableMasking::maskVariables;
using VariableMasking::unmaskVariables;
using List = std::vector<std::string>;

TEST(VariableMasking, NumbersEveryVariableInTextOrder) {
    const auto masked = maskVariables("Hello ${name}, you have {{count}} new ${name}");
    EXPECT_EQ(masked.text, "Hello ⟦1⟧, you have ⟦2⟧ new ⟦3⟧");
    EXPECT_EQ(masked.variables, (List{"${name}", "{{count}}", "${name}"}));
}

TEST(VariableMasking, LeavesWhatIsNoVariable) {
    for (const std::string text : {"${}", "{{a b}}", "{a}", "$name", "{{}}", "${a\tb}", "Plain text", ""}) {
        const auto masked = maskVariables(text);
        EXPECT_EQ(masked.text, text);
        EXPECT_TRUE(masked.variables.empty()) << text;
    }
    const auto trailing = maskVariables("${a}}");
    EXPECT_EQ(trailing.text, "⟦1⟧}");
    EXPECT_EQ(trailing.variables, (List{"${a}"}));
    const auto unicode = maskVariables("«{{größe}}» ${ß}");
    EXPECT_EQ(unicode.text, "«⟦1⟧» ⟦2⟧");
    EXPECT_EQ(unicode.variables, (List{"{{größe}}", "${ß}"}));
}

TEST(VariableMasking, KeepsControlCharactersAlreadyInTheText) {
    const std::string text = "\x01 ${a} \x01{{b}}";
    const auto masked = maskVariables(text);
    EXPECT_EQ(masked.text, "\x01 ⟦1⟧ \x01⟦2⟧");
    EXPECT_EQ(unmaskVariables(masked.text, masked.variables), text);
}

TEST(VariableUnmasking, PutsBackWhatTheModelKept) {
    const List variables{"${name}", "{{count}}"};
    EXPECT_EQ(unmaskVariables("⟦2⟧ neue für ⟦1⟧", variables), "{{count}} neue für ${name}");
    EXPECT_EQ(unmaskVariables("⟦1⟧ und ⟦1⟧", variables), "${name} und ${name}");
    EXPECT_EQ(unmaskVariables("nur ⟦2⟧", variables), "nur {{count}}");
}

TEST(VariableUnmasking, LeavesTokensWithoutAnEntry) {
    EXPECT_EQ(unmaskVariables("⟦1⟧ ⟦2⟧", {}), "⟦1⟧ ⟦2⟧");
    const List one{"${a}"};
    EXPECT_EQ(unmaskVariables("⟦0⟧ ⟦2⟧ ⟦01⟧ ⟦1 ⟦⟧ ⟦1⟧", one), "⟦0⟧ ⟦2⟧ ⟦01⟧ ⟦1 ⟦⟧ ${a}");
    EXPECT_EQ(unmaskVariables("⟦99999999999999999999999⟧⟦⟦1⟧", one), "⟦99999999999999999999999⟧⟦${a}");
}

TEST(VariableUnmasking, TellsTokenOneFromTokenTen) {
    List variables;
    for (int i = 1; i <= 10; ++i)
        variables.push_back("${v" + std::to_string(i) + "}");
    EXPECT_EQ(unmaskVariables("⟦10⟧⟦1⟧", variables), "${v10}${v1}");
}

TEST(VariableUnmasking, NeverReadsTokensInsideARestoredVariable) {
    const std::string text = "${⟦2⟧} and {{x}}";
    const auto masked = maskVariables(text);
    EXPECT_EQ(masked.text, "⟦1⟧ and ⟦2⟧");
    EXPECT_EQ(unmaskVariables(masked.text, masked.variables), text);
    EXPECT_EQ(unmaskVariables("⟦2⟧ / ⟦1⟧", masked.variables), "{{x}} / ${⟦2⟧}");
}

TEST(VariableMasking, RoundTripsMalformedUtf8) {
    for (const std::string text : {"${\xff}", "\xe2\x9f ${a} \xe2\x9f\xa6", "{{a\xc3}}\xc3"}) {
        const auto masked = maskVariables(text);
        EXPECT_EQ(unmaskVariables(masked.text, masked.variables), text);
    }
}
