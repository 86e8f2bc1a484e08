#pragma once
// Language names and the core list of language codes people can always choose from.

#include <string>
#include <string_view>
#include <vector>

namespace orvel::Languages {

// The language's name in its own language with its first character upper-cased, e.g. "Deutsch".
std::string nativeName(std::string_view code);

// The language's name in English, used when naming the language to a model, e.g. "German".
std::string englishName(std::string_view code);

// The language's name in the language `inLanguage` ("Französisch" for "fr" in "de"); the code itself
// when there is no name for it.
std::string displayName(std::string_view code, std::string_view inLanguage);

// The 42 codes of the core list, in display order.
const std::vector<std::string>& common();

} // namespace orvel::Languages
