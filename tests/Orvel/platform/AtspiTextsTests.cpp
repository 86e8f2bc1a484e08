#include <gtest/gtest.h>

#include "Orvel/platform/AtspiTexts.h"

namespace orvel {
namespace {

using AtspiTexts::Published;
using AtspiTexts::Texts;

Published published(std::optional<std::string> name, std::optional<std::string> description,
                    std::optional<std::string> placeholder = std::nullopt, bool nameIsContent = false,
                    bool describedByPlaceholder = false) {
    Published out;
    out.name = std::move(name);
    out.description = std::move(description);
    out.placeholder = std::move(placeholder);
    out.nameIsContent = nameIsContent;
    out.describedByPlaceholder = describedByPlaceholder;
    return out;
}

Texts texts(std::optional<std::string> title, std::optional<std::string> label,
            std::optional<std::string> help, std::optional<std::string> placeholder) {
    return Texts{std::move(title), std::move(label), std::move(help), std::move(placeholder)};
}

TEST(AtspiTextsTests, NameAndDescriptionBecomeTitleLabelTooltipAndPlaceholder) {
    struct Case {
        std::string name;
        Published published;
        Texts expected;
    };
    const auto none = std::nullopt;
    const std::vector<Case> cases{
        {"a name alone", published("Save", none), texts("Save", none, none, none)},
        {"a description beside a name is the tooltip", published("Save", "Saves the file"),
         texts("Save", none, "Saves the file", none)},
        {"a description alone names the element", published(none, "Zoom in"),
         texts(none, "Zoom in", none, none)},
        {"empty texts are absent", published("", ""), texts(none, none, none, none)},
        {"a description that repeats the name", published("Save", "Save"), texts("Save", none, none, none)},
        {"a label's tooltip", published("Hello", "Greets you", none, true),
         texts(none, none, "Greets you", none)},
        {"the toolkit's placeholder attribute", published(none, "Search here", "Search here"),
         texts(none, none, none, "Search here")},
        {"the placeholder attribute beside a tooltip", published("Name", "Your full name", "Jane Doe"),
         texts("Name", none, "Your full name", "Jane Doe")},
        {"an empty field described by its placeholder", published(none, "Type a name", none, false, true),
         texts(none, none, none, "Type a name")},
        {"a named empty field described by its placeholder",
         published("Name", "Type a name", none, false, true), texts("Name", none, none, "Type a name")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(AtspiTexts::texts(c.published), c.expected);
    }
}

TEST(AtspiTextsTests, OnlyNamesOfATypeNamesFormCanBeTheToolkitsNamesOfWidgets) {
    struct Case {
        std::string name;
        bool typeName;
    };
    const std::vector<Case> cases{
        {"GtkMenuButton", true}, {"AdwGizmo", true},    {"GtkImage", true},    {"Gtk4Widget", false},
        {"Press me", false},     {"OK", false},         {"iPhone", false},     {"Tab", false},
        {"Gtk", false},          {"Gtk Button", false}, {"GtkButton…", false}, {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AtspiTexts::hasTypeNameForm(c.name), c.typeName) << c.name;
}

} // namespace
} // namespace orvel
