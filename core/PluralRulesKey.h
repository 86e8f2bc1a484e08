#pragma once
// Where the locale data keep the plural rules of a language: Portugal's Portuguese counts otherwise than
// Brazil's, so a whole tag may have rules of its own beside those of its base code.

#include <optional>
#include <string>
#include <string_view>

namespace orvel::PluralRules {

// The locale name whose plural rules the locale data hold for `code`: the whole tag ("pt_PT") where it
// has rules of its own, else the longest shorter part that has them, down to the base code ("pt" for
// "pt-BR"). Nothing for a language without rules there, and for a code that is no language tag: ICU
// copies a locale's name into fixed buffers, and a code from a hostile file must not reach them.
std::optional<std::string> rulesKey(std::string_view code);

} // namespace orvel::PluralRules
