#pragma once
// Turns the element trees read from a running app into occurrences by string id. A text is matched by
// the invisible id markers the companion puts into texts while its probe is on, and only when it carries
// no usable marker by its literal text in an index of the app's English (and translated) texts. Every
// operation is pure and never fails: what cannot be matched or placed is simply left out.

#include <array>
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/Date.h"
#include "core/SourceString.h"
#include "engine/apps/TranslationProject.h"
#include "engine/capture/AXNode.h"
#include "engine/capture/AXReader.h"
#include "engine/capture/Occurrence.h"

namespace orvel::ContextAnalyzer {

// Marker number (decimal text) to [table, key]; entries of any other length name no string.
using MarkerTable = std::map<std::string, std::vector<std::string>>;
// String id to the string's English text.
using EnglishTexts = std::unordered_map<std::string, std::string>;
// A trimmed on-screen text to the one string id that shows it.
using TextIndex = std::unordered_map<std::string, std::string>;
// String id to its occurrences, in the order they were found.
using Occurrences = std::map<std::string, std::vector<Occurrence>, std::less<>>;
// Window name to the texts no string claims.
using UnkeyedTexts = std::map<std::string, std::vector<std::string>>;

// What turns a text into string ids and readable names.
struct Tables {
    const MarkerTable& markers;
    const EnglishTexts& english;
    const TextIndex& index;
};

// Elements that group what they hold: a heading only titles texts of its own pane, and a row only
// gathers elements of one pane.
inline constexpr std::array<std::string_view, 6> paneRoles{"AXScrollArea", "AXSplitGroup", "AXTabGroup",
                                                           "AXSheet",      "AXPopover",    "AXToolbar"};
inline constexpr std::array<std::string_view, 21> leafRoles{"AXButton",
                                                            "AXCheckBox",
                                                            "AXRadioButton",
                                                            "AXPopUpButton",
                                                            "AXMenuButton",
                                                            "AXComboBox",
                                                            "AXTextField",
                                                            "AXTextArea",
                                                            "AXSlider",
                                                            "AXIncrementor",
                                                            "AXStaticText",
                                                            "AXHeading",
                                                            "AXLink",
                                                            "AXImage",
                                                            "AXColorWell",
                                                            "AXDateField",
                                                            "AXSegmentedControl",
                                                            "AXSearchField",
                                                            "AXDisclosureTriangle",
                                                            "AXLevelIndicator",
                                                            "AXProgressIndicator"};
inline constexpr std::array<std::string_view, 3> listRoles{"AXOutline", "AXList", "AXTable"};
// What these show is the person's input or a picture, never a string of the app left untranslated.
inline constexpr std::array<std::string_view, 7> inputRoles{
    "AXTextField", "AXTextArea", "AXSearchField", "AXSlider", "AXIncrementor", "AXComboBox", "AXImage"};

template <std::size_t N> bool isOneOf(std::string_view role, const std::array<std::string_view, N>& roles) {
    for (std::string_view known : roles)
        if (known == role)
            return true;
    return false;
}

// An element this tall or taller spans many lines and belongs to none.
inline constexpr double maxRowHeight = 200.0;
inline constexpr std::size_t maxRowItems = 10;
// Longer texts are cut to three characters fewer followed by "…".
inline constexpr std::size_t maxDescribedCharacters = 60;

struct Rect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    double minY() const { return y; }
    double maxY() const { return y + height; }
    bool operator==(const Rect&) const = default;
};

// One element of a window that may carry text.
struct Leaf {
    // Points into the window's tree, which must outlive the leaf; its children are not used.
    const AXNode* node = nullptr;
    // The innermost pane holding the element, numbered 1, 2, ... in tree order; 0 outside every pane.
    int pane = 0;
    // Position in the window's leaf list.
    int order = 0;
    std::optional<Rect> frame;
    // The element or one of its ancestors is a list.
    bool inList = false;
};

enum class TextKind { title, label, value, help, placeholder };

struct Text {
    TextKind kind;
    std::string text;
    bool operator==(const Text&) const = default;
};

// String id to English text; of two strings with one id the later one counts.
EnglishTexts englishTexts(const std::vector<SourceString>& strings);

// English texts and, when a project is given, its single-text translations, each mapped to its string id;
// texts that two strings share, and texts holding "%", are left out.
TextIndex textIndex(const std::vector<SourceString>& strings, const TranslationProject* project);

// The window's leaves in tree order, a parent before its children.
std::vector<Leaf> leaves(const AXNode& root);

// The texts of an element: title, a label that differs from the title, the value (not of check boxes,
// radio buttons and sliders), help and placeholder.
std::vector<Text> texts(const AXNode& node);

// The string ids a text shows: one per resolved marker, in marker order; without any, the id its
// literal text has in the index.
std::vector<std::string> ids(std::string_view text, const Tables& tables);

// A title as the person would read it: a marked title names its first marker's string by its English
// (or, when that is unknown, by its key).
std::string displayText(std::string_view title, const Tables& tables);

// The text of the nearest heading above the leaf in its pane.
std::optional<std::string> section(const Leaf& leaf, const std::vector<Leaf>& leaves, const Tables& tables);

// Plain words for the element's kind: "button", "checkbox", ...
std::string roleWords(const AXNode& node);
// The role words as they apply to one text of the element ("tooltip button", ...).
std::string roleDescription(const AXNode& node, TextKind kind);

// The role words with the element's text, in « » when `marked`, else in straight quotes.
std::string describe(const AXNode& node, bool marked, const Tables& tables);

// The descriptions of the elements on the leaf's line, left to right, the leaf's own one marked.
std::vector<std::string> row(const Leaf& leaf, const std::vector<Leaf>& leaves, const Tables& tables);

// Whether a text reads as words rather than numbers, symbols or a single letter.
bool isReadable(std::string_view text);

// The titles of the menu bar's menus, submenus and items, with the menu path as screen.
Occurrences menuOccurrences(const AXNode& menuBar, const Tables& tables, Date captured);

// The occurrences of all windows and the menu bar; a window without a readable title is named `appName`.
Occurrences analyze(const AXReader::WindowList& windows, const std::optional<AXNode>& menuBar,
                    const std::string& appName, const Tables& tables, Date captured);

// Per window name, the readable texts that carried no marker and that no string claims.
UnkeyedTexts unkeyedTexts(const AXReader::WindowList& windows, const TextIndex& index,
                          const std::string& appName);

} // namespace orvel::ContextAnalyzer
