#pragma once
// The rows of the built-in language notes that live in their own files.

#include "engine/model/LanguageNotes.h"

namespace orvel::BuiltInLanguageNotes {

LanguageNotes romanian();

} // namespace orvel::BuiltInLanguageNotes
