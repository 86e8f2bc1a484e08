#pragma once
// Toolkits publish an element's texts as its AT-SPI name and description; the reader wants a title, a
// label, a tooltip and a placeholder. A description beside a name is the element's tooltip; a
// description that is all an element has names it. The placeholder is the toolkit's "placeholder-text"
// attribute where it sets one; Qt instead describes a field that nothing else describes by its
// placeholder, so an empty single-line field of a Qt app takes its description as its placeholder.

#include <optional>
#include <string>
#include <string_view>

namespace orvel::AtspiTexts {

struct Published {
    std::optional<std::string> name;
    std::optional<std::string> description;
    std::optional<std::string> placeholder;
    // The element's name is the text it shows (labels, headings), which it gives as its value.
    bool nameIsContent = false;
    // The element is an empty single-line field of a toolkit that describes such a field by its placeholder.
    bool describedByPlaceholder = false;
};

struct Texts {
    std::optional<std::string> title;
    std::optional<std::string> label;
    std::optional<std::string> help;
    std::optional<std::string> placeholder;

    bool operator==(const Texts&) const = default;
};

// Empty texts count as absent; a description that repeats the name or the placeholder adds nothing.
Texts texts(const Published& published);

// Whether a name has the form of the type name that GTK 4 gives a widget nothing else names: a namespace
// of one capital and small letters joined to a capitalised type ("GtkMenuButton", "AdwGizmo").
bool hasTypeNameForm(std::string_view name);

} // namespace orvel::AtspiTexts
