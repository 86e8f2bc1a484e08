#include <gtest/gtest.h>

#include "engine/model/PromptItems.h"

namespace orvel {
namespace {

TEST(PromptItemsTests, ArrayHasOneItemPerLineBetweenBracketLines) {
    EXPECT_EQ(Prompt::jsonArray(std::vector<Prompt::Item>{{.id = "1", .text = "Open"}}),
              "[\n{\"id\":\"1\",\"text\":\"Open\"}\n]");
    EXPECT_EQ(Prompt::jsonArray(
                  std::vector<Prompt::Item>{{.id = "1", .text = "Open"}, {.id = "2", .text = "Close"}}),
              "[\n{\"id\":\"1\",\"text\":\"Open\"},\n{\"id\":\"2\",\"text\":\"Close\"}\n]");
    EXPECT_EQ(Prompt::jsonArray(std::vector<Prompt::Item>{}), "[\n\n]");
}

TEST(PromptItemsTests, TextKeepsSlashesAndNonAsciiAndEscapesOnlyWhatJsonNeeds) {
    const Prompt::Item item{.id = "1", .text = "a/b é → \"q\"\n"};
    EXPECT_EQ(Prompt::jsonArray(std::vector<Prompt::Item>{item}),
              "[\n{\"id\":\"1\",\"text\":\"a/b é → \\\"q\\\"\\n\"}\n]");
}

TEST(PromptItemsTests, ItemWritesEveryPresentFieldInFieldOrder) {
    Prompt::Item item{.id = "7", .text = "%lld items"};
    item.phrases = std::vector<std::string>{"p"};
    item.os = std::vector<std::string>{};
    item.problem = "x";
    item.feedback = "f";
    item.current = "c";
    item.key = "k";
    item.note = "n";
    item.where = std::vector<std::string>{"w1", "w2"};
    item.countable = true;
    item.plural = "one (1), other (0, 2 and up)";
    EXPECT_EQ(item.toJson().dump(),
              "{\"id\":\"7\",\"text\":\"%lld items\",\"plural\":\"one (1), other (0, 2 and "
              "up)\",\"countable\":true,"
              "\"where\":[\"w1\",\"w2\"],\"note\":\"n\",\"key\":\"k\",\"current\":\"c\",\"feedback\":\"f\","
              "\"problem\":\"x\",\"os\":[],\"phrases\":[\"p\"]}");
}

TEST(PromptItemsTests, TermItemAlwaysCarriesExamples) {
    EXPECT_EQ(Prompt::jsonArray(std::vector<Prompt::TermItem>{{.term = "display"}}),
              "[\n{\"term\":\"display\",\"examples\":[]}\n]");
    const Prompt::TermItem full{.term = "t", .examples = {"e"}, .os = "o", .evidence = "v (2)"};
    EXPECT_EQ(full.toJson().dump(),
              "{\"term\":\"t\",\"examples\":[\"e\"],\"os\":\"o\",\"evidence\":\"v (2)\"}");
}

TEST(PromptItemsTests, ReviewItemWritesPluralAsObjectWithoutTranslation) {
    const Prompt::ReviewItem plural{.id = "1",
                                    .source = "%lld files",
                                    .plural =
                                        std::map<std::string, std::string>{{"other", "O"}, {"one", "A"}}};
    EXPECT_EQ(plural.toJson().dump(),
              "{\"id\":\"1\",\"source\":\"%lld files\",\"plural\":{\"one\":\"A\",\"other\":\"O\"}}");
    const Prompt::ReviewItem text{.id = "2", .source = "Open", .translation = "Öffnen", .problem = "p"};
    EXPECT_EQ(text.toJson().dump(),
              "{\"id\":\"2\",\"source\":\"Open\",\"translation\":\"Öffnen\",\"problem\":\"p\"}");
}

TEST(PromptItemsTests, JudgeItemUsesUpperCaseKeysForTheTwoTexts) {
    const Prompt::JudgeItem item{.id = "1", .source = "Quit", .a = "first", .b = "second"};
    EXPECT_EQ(item.toJson().dump(), "{\"id\":\"1\",\"source\":\"Quit\",\"A\":\"first\",\"B\":\"second\"}");
}

TEST(PromptItemsTests, ItemThatIsNotUtf8IsLeftOut) {
    const std::vector<Prompt::Item> items{
        {.id = "1", .text = "ok"}, {.id = "2", .text = "bad \xC3"}, {.id = "3", .text = "ok"}};
    EXPECT_EQ(Prompt::jsonArray(items),
              "[\n{\"id\":\"1\",\"text\":\"ok\"},\n{\"id\":\"3\",\"text\":\"ok\"}\n]");
}

} // namespace
} // namespace orvel
