#pragma once
// Finding and comparing the placeholders of a text. Pure functions; safe on any thread.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/FormatSpecifier.h"

namespace orvel::FormatSpecifiers {

// The placeholders in text order; "%%" is a literal percent sign and a lone "%" plain text.
std::vector<FormatSpecifier> parse(std::string_view text);

// "int", "uint", "hex" + conversion, "float", or the type itself.
std::string typeClass(std::string_view type);

// The type classes of all placeholders, sorted ascending: equal for texts with the same placeholders.
std::vector<std::string> signature(std::string_view text);

// The argument number of the first integer placeholder: its position, else its 1-based place.
std::optional<std::int64_t> countArgument(std::string_view text);

// The type of the first integer placeholder.
std::optional<std::string> countValueType(std::string_view text);

} // namespace orvel::FormatSpecifiers
