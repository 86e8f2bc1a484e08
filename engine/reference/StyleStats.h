#pragma once
// How the human translators of one reference program handled typography and capitalisation in one
// language, kept per program in the software reference and its cache file.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/Json.h"

namespace orvel {

struct StyleStats {
    using Counts = std::map<std::string, std::int64_t>;

    // Quote-style label to the number of pairs whose English quotes a span in curly double quotes.
    Counts quotes;
    // The same for English quoting only with straight double quotes.
    Counts straightQuotes;
    // How translations end where the English ends in an ellipsis: "…", "..." or "none".
    Counts ellipsis;
    // Mark (":", ";", "?", "!") to the kind of character before it in the translations.
    std::map<std::string, Counts> spaceBefore;
    // The last character of the translations of English questions.
    Counts questions;
    // Case class of the translations of English Title Case labels.
    Counts labelCase;
    // [case class, English, translation], at most three per case class.
    std::vector<std::vector<std::string>> labelExamples;
    // [English, translation] of English imperatives.
    std::vector<std::vector<std::string>> imperatives;

    // All eight keys are required.
    static StyleStats fromJson(const json::Json& value);
    json::Json toJson() const;
    bool operator==(const StyleStats&) const = default;
};

} // namespace orvel
