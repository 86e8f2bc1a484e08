#include <gtest/gtest.h>

#include "core/Markers.h"
#include "engine/capture/ContextAnalyzer.h"

namespace orvel {
namespace {

using namespace ContextAnalyzer;
using Frame = std::vector<double>;
using Row = std::vector<std::string>;
using Ids = std::vector<std::string>;

const Date now{std::chrono::seconds(1'700'000'000)};

std::string id(const std::string& key) {
    return SourceString::id("Main", key);
}

SourceString english(const std::string& key, std::string text) {
    SourceString out;
    out.table = "Main";
    out.key = key;
    out.text = std::move(text);
    return out;
}

std::string marked(std::int64_t marker, const std::string& text) {
    return Markers::encode(marker) + text;
}

AXNode node(std::string role, std::optional<std::string> title = {}, std::optional<Frame> frame = {}) {
    return AXNode{.role = std::move(role), .title = std::move(title), .frame = std::move(frame)};
}

AXNode parent(std::string role, std::vector<AXNode> children, std::optional<Frame> frame = {}) {
    AXNode out = node(std::move(role), {}, std::move(frame));
    out.children = std::move(children);
    return out;
}

// Marker 1 names "open", 2 names "close", 3 has three items, 4 names a string the English texts lack.
class ContextAnalyzerTests : public ::testing::Test {
  protected:
    MarkerTable m_markers{{"1", {"Main", "open"}},
                          {"2", {"Main", "close"}},
                          {"3", {"Main", "open", "extra"}},
                          {"4", {"Main", "settings.title"}}};
    EnglishTexts m_english{{id("open"), "Open"}, {id("close"), "Close"}};
    TextIndex m_index{{"Open", id("open")}, {"Close", id("close")}, {"Save", id("save")}};
    Tables m_tables{m_markers, m_english, m_index};
};

TEST_F(ContextAnalyzerTests, TextIndexKeepsOnlyTextsThatNameOneString) {
    TranslationProject project;
    project.translations[id("b")].text = "Nouveau";
    project.translations[id("c")].text = "Quit"; // another string's English
    project.translations[id("d")].plural = std::map<std::string, std::string>{{"other", "Fichiers"}};
    const std::vector<SourceString> strings{
        english("a", "Same"),     english("a2", "Same"),       english("b", "  New\t"),
        english("c", "Leave"),    english("q", "Quit"),        english("p", "%d files"),
        english("blank", " \t "), english("n", "Two\nlines "), english("d", "Files"),
        english("r", "Repeat"),   english("r2", "Other")};
    project.translations[id("r")].text = "Repeat";

    struct Case {
        std::string text;
        std::optional<std::string> id;
    };
    const std::vector<Case> cases{
        {"Same", std::nullopt}, {"New", id("b")},           {"Nouveau", id("b")}, {"Quit", std::nullopt},
        {"Leave", id("c")},     {"%d files", std::nullopt}, {"", std::nullopt},   {"Two\nlines", id("n")},
        {"Files", id("d")},     {"Fichiers", std::nullopt}, {"Repeat", id("r")},
    };
    const TextIndex index = textIndex(strings, &project);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto found = index.find(c.text);
        EXPECT_EQ(found == index.end() ? std::nullopt : std::optional(found->second), c.id);
    }
    EXPECT_EQ(textIndex(strings, nullptr).count("Quit"), 1u) << "without a project Quit is unique";
}

TEST_F(ContextAnalyzerTests, EnglishTextsKeepTheLaterOfTwoStringsWithOneId) {
    const EnglishTexts texts =
        englishTexts({english("a", "First"), english("b", "Bee"), english("a", "Second")});
    EXPECT_EQ(texts, (EnglishTexts{{id("a"), "Second"}, {id("b"), "Bee"}}));
}

TEST_F(ContextAnalyzerTests, IdsComeFromResolvedMarkersElseFromTheIndex) {
    struct Case {
        std::string name;
        std::string text;
        Ids expected;
    };
    const std::vector<Case> cases{
        {"plain text in the index", "Save", {id("save")}},
        {"spaces and tabs trimmed", " \tSave ", {id("save")}},
        {"line breaks are not trimmed", "Save\n", {}},
        {"unknown text", "Print", {}},
        {"marker wins over the literal text", marked(2, "Open"), {id("close")}},
        {"three-item entry falls back to the index", marked(3, "Open"), {id("open")}},
        {"unknown marker falls back to the index", marked(99, "Save"), {id("save")}},
        {"two markers give two ids", marked(1, "Open") + " " + marked(2, "Close"), {id("open"), id("close")}},
        {"repeated markers are kept", marked(1, "a") + marked(1, "b"), {id("open"), id("open")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ids(c.text, m_tables), c.expected);
    }
}

TEST_F(ContextAnalyzerTests, DisplayTextNamesTheFirstMarkedString) {
    struct Case {
        std::string name;
        std::string title;
        std::string expected;
    };
    const std::vector<Case> cases{
        {"no marker", "Window", "Window"},
        {"English text of the marked string", marked(1, "Ouvrir"), "Open"},
        {"only the first marker counts", marked(2, "x") + marked(1, "y"), "Close"},
        {"key when the English is unknown", marked(4, ""), "settings.title"},
        {"clean text for a three-item entry", marked(3, "Shown"), "Shown"},
        {"clean text for an unknown marker", marked(77, "Shown"), "Shown"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(displayText(c.title, m_tables), c.expected);
    }
}

TEST_F(ContextAnalyzerTests, TextsOfANodeInKindOrder) {
    struct Case {
        std::string name;
        AXNode node;
        std::vector<Text> expected;
    };
    const std::vector<Case> cases{
        {"all kinds",
         {.role = "AXTextField", .title = "T", .label = "L", .value = "V", .help = "H", .placeholder = "P"},
         {{TextKind::title, "T"},
          {TextKind::label, "L"},
          {TextKind::value, "V"},
          {TextKind::help, "H"},
          {TextKind::placeholder, "P"}}},
        {"label equal to the title",
         {.role = "AXButton", .title = "OK", .label = "OK"},
         {{TextKind::title, "OK"}}},
        {"check box value is its state",
         {.role = "AXCheckBox", .title = "Wrap", .value = "1"},
         {{TextKind::title, "Wrap"}}},
        {"radio button value", {.role = "AXRadioButton", .value = "0"}, {}},
        {"slider value", {.role = "AXSlider", .value = "50"}, {}},
        {"static text value", {.role = "AXStaticText", .value = "Hello"}, {{TextKind::value, "Hello"}}},
        {"nothing", {.role = "AXGroup"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(texts(c.node), c.expected);
    }
}

TEST_F(ContextAnalyzerTests, LeavesNumberPanesAndMarkListsInTreeOrder) {
    const AXNode window = parent(
        "AXWindow",
        {node("AXButton"),
         parent("AXScrollArea",
                {parent("AXOutline", {parent("AXRow", {node("AXStaticText", "In list")})}), node("AXGroup")}),
         parent("AXSplitGroup", {node("AXGroup", "Titled group")}),
         node("AXStaticText", "Last", Frame{1, 2, 3, 4})});
    const std::vector<Leaf> found = leaves(window);
    struct Expected {
        std::string role;
        int pane;
        bool inList;
    };
    const std::vector<Expected> expected{
        {"AXButton", 0, false}, {"AXStaticText", 1, true}, {"AXGroup", 2, false}, {"AXStaticText", 0, false}};
    ASSERT_EQ(found.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(found[i].node->role, expected[i].role);
        EXPECT_EQ(found[i].pane, expected[i].pane);
        EXPECT_EQ(found[i].inList, expected[i].inList);
        EXPECT_EQ(found[i].order, static_cast<int>(i));
    }
    EXPECT_EQ(found[3].frame, (Rect{1, 2, 3, 4}));
    EXPECT_FALSE(found[0].frame.has_value());
}

TEST_F(ContextAnalyzerTests, SectionIsTheLowestHeadingAboveInTheSamePane) {
    struct Case {
        std::string name;
        std::vector<AXNode> children;
        std::optional<std::string> expected;
    };
    // The text under test is always the last child, at y 100.
    const AXNode text = node("AXStaticText", "Body", Frame{0, 100, 50, 20});
    const std::vector<Case> cases{
        {"bottom 0.5 below the top still counts",
         {node("AXHeading", "General", Frame{0, 80, 50, 20.5}), text},
         "General"},
        {"bottom 2 below the top does not",
         {node("AXHeading", "General", Frame{0, 82, 50, 20}), text},
         std::nullopt},
        {"the lowest heading wins",
         {node("AXHeading", "Far", Frame{0, 0, 50, 20}), node("AXHeading", "Near", Frame{0, 60, 50, 20}),
          text},
         "Near"},
        {"of equal headings the first",
         {node("AXHeading", "A", Frame{0, 60, 9, 20}), node("AXHeading", "B", Frame{20, 60, 9, 20}), text},
         "A"},
        {"a heading without a frame never", {node("AXHeading", "Nowhere"), text}, std::nullopt},
        {"a heading of another pane never",
         {parent("AXScrollArea", {node("AXHeading", "Inside", Frame{0, 0, 50, 20})}), text},
         std::nullopt},
        {"a marked heading reads as its English",
         {node("AXHeading", marked(1, "x"), Frame{0, 0, 50, 20}), text},
         "Open"},
        {"a heading without text gives none",
         {node("AXHeading", std::nullopt, Frame{0, 0, 50, 20}), text},
         std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const AXNode window = parent("AXWindow", c.children);
        const std::vector<Leaf> all = leaves(window);
        EXPECT_EQ(section(all.back(), all, m_tables), c.expected);
    }
    AXNode headingByValue = node("AXHeading", std::nullopt, Frame{0, 0, 50, 20});
    headingByValue.value = "By value";
    headingByValue.label = "By label";
    const AXNode window = parent("AXWindow", {headingByValue, node("AXStaticText", "Body")});
    const std::vector<Leaf> all = leaves(window);
    EXPECT_EQ(section(all.back(), all, m_tables), std::nullopt) << "a text without a frame has no section";
    const AXNode framed = parent("AXWindow", {headingByValue, text});
    const std::vector<Leaf> framedLeaves = leaves(framed);
    EXPECT_EQ(section(framedLeaves.back(), framedLeaves, m_tables), "By value");
}

TEST_F(ContextAnalyzerTests, RoleWordsAndDescriptionsByRoleSubroleAndKind) {
    struct Case {
        std::string role;
        std::optional<std::string> subrole;
        TextKind kind;
        std::string expected;
    };
    const std::vector<Case> cases{
        {"AXButton", "AXToggle", TextKind::title, "toggle button"},
        {"AXButton", "AXCloseButton", TextKind::title, "button"},
        {"AXCheckBox", "AXSwitch", TextKind::title, "toggle"},
        {"AXCheckBox", std::nullopt, TextKind::title, "checkbox"},
        {"AXRadioButton", "AXTabButton", TextKind::title, "tab"},
        {"AXRadioButton", std::nullopt, TextKind::title, "radio button"},
        {"AXPopUpButton", "AXToggle", TextKind::title, "pop-up menu"},
        {"AXPopUpButton", std::nullopt, TextKind::value, "selected item of pop-up menu"},
        {"AXSearchField", std::nullopt, TextKind::placeholder, "placeholder of text field"},
        {"AXStaticText", std::nullopt, TextKind::help, "tooltip text"},
        {"AXStaticText", std::nullopt, TextKind::value, "text"},
        {"AXIncrementor", std::nullopt, TextKind::label, "stepper"},
        {"AXMenuBarItem", std::nullopt, TextKind::title, "menu"},
        {"AXRow", std::nullopt, TextKind::title, "list row"},
        {"AXDisclosureTriangle", std::nullopt, TextKind::title, "disclosuretriangle"},
        {"AXValueAXIndicator", std::nullopt, TextKind::title, "valueindicator"},
        {"", std::nullopt, TextKind::title, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.role);
        EXPECT_EQ(roleDescription(AXNode{.role = c.role, .subrole = c.subrole}, c.kind), c.expected);
    }
}

TEST_F(ContextAnalyzerTests, DescribeQuotesTheTextAndCutsLongOnes) {
    const std::string seventy(70, 'x');
    const std::string sixty(60, 'y');
    struct Case {
        std::string name;
        AXNode node;
        bool marked;
        std::string expected;
    };
    const std::vector<Case> cases{
        {"plain", {.role = "AXButton", .title = "OK"}, false, "button \"OK\""},
        {"marked", {.role = "AXButton", .title = "OK"}, true, "button «OK»"},
        {"70 characters are cut",
         {.role = "AXButton", .title = seventy},
         false,
         "button \"" + std::string(57, 'x') + "…\""},
        {"60 characters stay", {.role = "AXButton", .title = sixty}, false, "button \"" + sixty + "\""},
        {"characters, not bytes",
         {.role = "AXButton", .title = std::string(30, 'x') + "é" + std::string(29, 'x')},
         false,
         "button \"" + std::string(30, 'x') + "é" + std::string(29, 'x') + "\""},
        {"label when no title", {.role = "AXImage", .label = "Logo"}, false, "image \"Logo\""},
        {"value only of static text", {.role = "AXStaticText", .value = "Hi"}, false, "text \"Hi\""},
        {"value of a field is not its text", {.role = "AXTextField", .value = "typed"}, false, "text field"},
        {"marker resolved", {.role = "AXButton", .title = marked(1, "Ouvrir")}, true, "button «Open»"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(describe(c.node, c.marked, m_tables), c.expected);
    }
}

TEST_F(ContextAnalyzerTests, RowListsTheLineLeftToRight) {
    struct Case {
        std::string name;
        std::vector<AXNode> children;
        Row expected;
    };
    // The leaf under test is always the first child.
    const std::vector<Case> cases{
        {"no frame",
         {node("AXButton", "Own"), node("AXButton", "Other", Frame{0, 0, 10, 10})},
         {"button «Own»"}},
        {"zero height", {node("AXButton", "Own", Frame{0, 0, 10, 0})}, {"button «Own»"}},
        {"mates in left-to-right order",
         {node("AXButton", "Own", Frame{50, 0, 10, 20}), node("AXStaticText", "Right", Frame{90, 5, 10, 20}),
          node("AXStaticText", "Left", Frame{0, 0, 10, 20}),
          node("AXStaticText", "Below", Frame{0, 30, 10, 20})},
         {"text \"Left\"", "button «Own»", "text \"Right\""}},
        {"half the smaller height overlaps",
         {node("AXButton", "Own", Frame{0, 0, 10, 20}), node("AXButton", "Half", Frame{20, 15, 10, 10}),
          node("AXButton", "Less", Frame{40, 16, 10, 10})},
         {"button «Own»", "button \"Half\""}},
        {"a tall leaf is not its own mate",
         {node("AXTextArea", "Own", Frame{0, 0, 10, 200}), node("AXButton", "Beside", Frame{20, 0, 10, 100})},
         {"button \"Beside\""}},
        {"other panes are left out",
         {node("AXButton", "Own", Frame{0, 0, 10, 20}),
          parent("AXToolbar", {node("AXButton", "Tool", Frame{20, 0, 10, 20})})},
         {"button «Own»"}},
        {"a copy of the own item and repeats are dropped",
         {node("AXButton", "Own", Frame{0, 0, 10, 20}), node("AXButton", "Own", Frame{10, 0, 10, 20}),
          node("AXButton", "Twin", Frame{20, 0, 10, 20}), node("AXButton", "Twin", Frame{30, 0, 10, 20})},
         {"button «Own»", "button \"Twin\""}},
        {"ties keep leaf order",
         {node("AXButton", "Own", Frame{0, 0, 10, 20}), node("AXButton", "Second", Frame{0, 0, 10, 20})},
         {"button «Own»", "button \"Second\""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const AXNode window = parent("AXGroup", c.children);
        const std::vector<Leaf> all = leaves(window);
        EXPECT_EQ(row(all.front(), all, m_tables), c.expected);
    }

    std::vector<AXNode> crowded;
    for (int i = 0; i < 12; ++i)
        crowded.push_back(node("AXButton", "B" + std::to_string(i), Frame{i * 10.0, 0, 10, 20}));
    const AXNode window = parent("AXGroup", crowded);
    const std::vector<Leaf> all = leaves(window);
    const Row found = row(all.back(), all, m_tables);
    EXPECT_EQ(found.size(), 10u);
    EXPECT_EQ(found.back(), "button \"B9\"")
        << "only the first ten mates count, even without the leaf itself";
}

TEST_F(ContextAnalyzerTests, ReadableTextsHaveTwoLettersInARowAndMoreLettersThanDigits) {
    struct Case {
        std::string text;
        bool readable;
    };
    const std::vector<Case> cases{
        {"OK", true},    {"A", false},     {"a1b", false}, {"Page 12", true}, {"ab12", false},
        {"abc12", true}, {"1.2.3", false}, {"日本", true}, {"→ ←", false},    {"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(isReadable(c.text), c.readable);
    }
}

TEST_F(ContextAnalyzerTests, MenuWalkFollowsTheMenuPath) {
    AXNode recent = parent("AXMenuItem", {parent("AXMenu", {node("AXMenuItem", "Close")})});
    recent.title = marked(2, "Récents");
    AXNode file = parent("AXMenuBarItem", {parent("AXMenu", {node("AXMenuItem", "Save"), recent})});
    file.title = marked(1, "Fichier");
    const AXNode bar = parent("AXMenuBar", {file, node("AXMenuBarItem"), node("AXMenuItem", "Open")});

    const Occurrences found = menuOccurrences(bar, m_tables, now);
    auto menu = [](std::string screen, std::string role) {
        return std::vector<Occurrence>{
            {.screen = std::move(screen), .role = std::move(role), .captured = now}};
    };
    const Occurrences expected{
        {id("open"),
         {Occurrence{.screen = "Menu bar", .role = "menu bar title", .captured = now},
          Occurrence{.screen = "Menu bar", .role = "menu item", .captured = now}}},
        {id("save"), menu("Menu bar > Open", "menu item")},
        {id("close"),
         {Occurrence{.screen = "Menu bar > Open", .role = "submenu title", .captured = now},
          Occurrence{.screen = "Menu bar > Open > Close", .role = "menu item", .captured = now}}},
    };
    EXPECT_EQ(found, expected);
}

TEST_F(ContextAnalyzerTests, AnalyzeDescribesEachTextOncePerPlace) {
    AXNode listText = node("AXStaticText", "Save", Frame{0, 0, 40, 20});
    listText.help = "Close";
    const AXNode settings = parent("AXWindow", {parent("AXOutline", {listText})});
    AXNode twoMarkers = node("AXStaticText", marked(1, "a") + marked(2, "b"), Frame{0, 40, 40, 20});
    const AXNode heading = node("AXHeading", "Open", Frame{0, 0, 40, 20});
    const AXNode main = parent("AXWindow", {heading, twoMarkers});
    const AXNode mainAgain = parent("AXWindow", {heading});
    const AXReader::WindowList windows{{marked(4, ""), settings}, {"", main}, {"", mainAgain}};
    const AXNode bar = parent("AXMenuBar", {node("AXMenuBarItem", "Save")});

    const Occurrences found = analyze(windows, bar, "Notes", m_tables, now);
    // The text with two markers: one occurrence for each of its strings.
    const Occurrence twoMarkersSeen{.screen = "Notes",
                                    .section = "Open",
                                    .role = "text",
                                    .row = {"text «Open»"},
                                    .frame = Frame{0, 40, 40, 20},
                                    .captured = now};
    const Occurrences expected{
        {id("save"),
         {{.screen = "settings.title",
           .role = "sidebar or list item",
           .row = {"text «Save»"},
           .frame = Frame{0, 0, 40, 20},
           .captured = now},
          {.screen = "Menu bar", .role = "menu bar title", .captured = now}}},
        {id("close"),
         {{.screen = "settings.title",
           .role = "tooltip text",
           .row = {"text «Save»"},
           .frame = Frame{0, 0, 40, 20},
           .captured = now},
          twoMarkersSeen}},
        {id("open"),
         {{.screen = "Notes",
           .role = "heading",
           .row = {"heading «Open»"},
           .frame = Frame{0, 0, 40, 20},
           .captured = now},
          twoMarkersSeen}},
    };
    EXPECT_EQ(found, expected);
}

TEST_F(ContextAnalyzerTests, UnkeyedTextsAreReadableUnclaimedAndUnmarked) {
    struct Case {
        std::string name;
        AXNode node;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases{
        {"readable unknown title, trimmed", node("AXButton", " Print\n"), {"Print"}},
        {"claimed by the index", node("AXButton", "Save"), {}},
        {"carried a marker", node("AXButton", marked(99, "Unknown")), {}},
        {"not readable", node("AXButton", "42"), {}},
        {"the app's name", node("AXStaticText", "Notes"), {}},
        {"input roles never count", node("AXTextField", "Typed words"), {}},
        {"value counts for static text", AXNode{.role = "AXStaticText", .value = "Greeting"}, {"Greeting"}},
        {"value of a button does not", AXNode{.role = "AXButton", .value = "Pressed"}, {}},
        {"each text once", AXNode{.role = "AXButton", .title = "Print", .help = "Print"}, {"Print"}},
        {"label and help in order",
         AXNode{.role = "AXButton", .label = "Share", .help = "Share it"},
         {"Share", "Share it"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const AXReader::WindowList windows{{marked(1, "Prefs"), parent("AXWindow", {c.node})}};
        UnkeyedTexts expected;
        if (!c.expected.empty())
            expected["Prefs"] = c.expected;
        EXPECT_EQ(unkeyedTexts(windows, m_index, "Notes"), expected);
    }
    const AXReader::WindowList untitled{{"", parent("AXWindow", {node("AXButton", "Print")})}};
    EXPECT_EQ(unkeyedTexts(untitled, m_index, "Notes"), (UnkeyedTexts{{"Notes", {"Print"}}}));
}

} // namespace
} // namespace orvel
