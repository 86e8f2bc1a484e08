#pragma once
// Chromium's English messages (GRD files) and their translations (XTB files), joined by message id.

#include <map>
#include <string>
#include <string_view>

#include "engine/reference/XmlTree.h"

namespace orvel::SoftwareFormats {

struct GritMessage {
    std::string name; // the message's "name" attribute
    std::string text; // the English display text, placeholders written as "{NAME}"
    bool operator==(const GritMessage&) const = default;
};

// Message id to message, for every translatable message at any depth of a parsed GRD document. A message
// marked "use_name_for_id" is kept under its name.
std::map<std::string, GritMessage, std::less<>> gritMessages(const Tree& root);

// Message id to translated display text, for every translation at any depth. Throws XmlError when the
// file is not well-formed.
std::map<std::string, std::string, std::less<>> xtbTranslations(std::string_view bytes);

} // namespace orvel::SoftwareFormats
