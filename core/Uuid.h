#pragma once
// Random (version 4) UUIDs in their standard text form.

#include <string>

namespace orvel::Uuid {

// 36 characters: uppercase hexadecimal digits in groups of 8, 4, 4, 4 and 12 separated by hyphens.
std::string generate();

} // namespace orvel::Uuid
