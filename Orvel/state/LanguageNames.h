#pragma once
// Language names for the person to read, and the form in which the library compares a requested
// language with an app's languages.

#include <optional>
#include <string>
#include <string_view>

namespace orvel {

// The language the interface is shown in: the one the application configured, else "en".
std::string interfaceLanguage();
// Called by the application when it shows its interface in a language of its translations; nothing
// goes back to "en".
void setInterfaceLanguage(std::optional<std::string> language);

// The name of a language code in the interface language, including any script and region
// ("Portuguese (Brazil)"); the code itself when there is no name for it.
std::string displayName(std::string_view language);

// Chinese keeps its script ("zh-Hans", "zh-Hant", the script derived from the region when none is
// named), Portuguese keeps Brazil ("pt-BR", else "pt"), any other language drops script and region.
// Nothing unless the language subtag is 2-3 or 5-8 ASCII letters: the result names project and
// overlay files, and the identifier may come from a deep link or another app.
std::optional<std::string> normalizedLanguage(std::string_view identifier);

} // namespace orvel
