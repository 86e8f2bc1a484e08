#pragma once
// Language codes read from files that other programs write (a target app's published state, the
// settings) name project files. Only a code that looks like one is trusted with that.

#include <string_view>

namespace orvel {

// True for letters followed by any number of subtags of letters and digits, each after one "-" or
// "_": "de", "pt-BR", "zh_Hans", "es-419". Letters and digits are the ASCII ones; the whole code is at
// most 64 bytes. Anything else (empty, spaces, dots, slashes, a trailing separator) is false.
bool isPlausibleLanguageCode(std::string_view code);

} // namespace orvel
