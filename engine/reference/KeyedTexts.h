#pragma once
// What a reader of one translation file gives: message key to display text.

#include <functional>
#include <map>
#include <string>

namespace orvel::SoftwareFormats {

using KeyedTexts = std::map<std::string, std::string, std::less<>>;

} // namespace orvel::SoftwareFormats
