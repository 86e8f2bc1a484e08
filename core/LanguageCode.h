#pragma once
// A first check of a language code that comes from outside (a deep link, a stored setting, a caller's
// argument) before it names files or goes into addresses.

#include <string_view>

namespace orvel {

// Whether `code` looks like a language tag: letters, then any number of subtags of letters and digits,
// each after a "-" or "_". Only ASCII, no empty subtag, at most 8 characters per subtag and 64 in all.
bool isPlausibleLanguageCode(std::string_view code);

} // namespace orvel
