#pragma once
// Scripts that write a sentence without spaces between its words (Chinese, Japanese, Thai, ...): there a
// word boundary cannot be found from the characters, and a word is found by containment alone.

#include <string_view>

namespace orvel::text {

// Whether the character (one grapheme) belongs to a script written without spaces between words.
bool isWrittenWithoutSpaces(std::string_view character);

// Whether any character of the text does.
bool hasTextWithoutSpaces(std::string_view text);

} // namespace orvel::text
