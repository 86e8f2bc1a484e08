#pragma once
// One finding of a batch review, handed to the job's review callback, kept or not.

#include <optional>
#include <string>

#include "engine/apps/StringTranslation.h"

namespace orvel {

struct ReviewNote {
    std::string source;                 // the English
    std::string before;                 // the translation before the review
    std::string after;                  // the translation the review proposed
    std::optional<std::string> problem; // what the reviewer found
    bool kept = false;                  // whether the fix was kept
    std::optional<std::string> reason;  // why a fix was not kept

    // A translation as one line: its plural forms as "one: … | other: …" in the canonical category
    // order when it has a forms map (even an empty one), else its text.
    static std::string summary(const StringTranslation& translation);

    bool operator==(const ReviewNote&) const = default;
};

} // namespace orvel
