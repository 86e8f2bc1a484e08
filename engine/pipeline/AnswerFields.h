#pragma once
// Reading the fields of one object of a model's answer, shared by the translate batch and the review.

#include <map>
#include <optional>
#include <string>

#include "core/Json.h"

namespace orvel::AnswerFields {

// The value under `key` when it is a text.
std::optional<std::string> text(const json::Json& object, const char* key);

// Category to form, when "plural" is a non-empty object of texts. An empty object gives no forms:
// stored as such it would replace the answer's text by nothing.
std::optional<std::map<std::string, std::string>> pluralForms(const json::Json& object);

} // namespace orvel::AnswerFields
