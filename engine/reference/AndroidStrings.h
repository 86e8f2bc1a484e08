#pragma once
// Android resource files ("strings.xml" and its translated siblings).

#include <string>
#include <string_view>

#include "engine/reference/KeyedTexts.h"
#include "engine/reference/XmlTree.h"

namespace orvel::SoftwareFormats {

// Message key to cleaned text: "name" for a string ("name:product" for a product variant), "name#quantity"
// for a plural form, "name[i]" for an array item. Strings marked not translatable are left out.
// Throws XmlError when the file is not well-formed.
KeyedTexts androidStrings(std::string_view bytes);

// An element's display text: a fully quoted text verbatim, otherwise white space collapsed; then the
// backslash escapes resolved.
std::string androidText(const Tree& element);

} // namespace orvel::SoftwareFormats
