#pragma once
// The translation files of the Mozilla programs: DTD entity declarations, properties files and Fluent.
// None of these readers fails: what cannot be read is skipped.

#include <string>
#include <string_view>

#include "engine/reference/KeyedTexts.h"

namespace orvel::SoftwareFormats {

// Reads the file with the reader its path ends in (".dtd", ".properties", ".ftl"); any other path gives
// nothing. Undecodable bytes become U+FFFD.
KeyedTexts mozillaStrings(std::string_view bytes, std::string_view path);

// Entity name to value, references to characters and to the five XML entities resolved.
KeyedTexts dtdStrings(std::string_view text);
// Property key to value, escapes resolved and continued lines joined.
KeyedTexts propertiesStrings(std::string_view text);
// Message id to its value, "id.attribute" to an attribute's value; a message without a value of its own
// leaves only its attributes.
KeyedTexts fluentStrings(std::string_view text);

// "&#N;" and "&#xH;" replaced by their characters; references that name no scalar stay as written.
std::string numericReferencesDecoded(std::string_view text);

} // namespace orvel::SoftwareFormats
