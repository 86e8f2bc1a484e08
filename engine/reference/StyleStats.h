#pragma once
// How the human translators of one reference program handled typography and capitalisation in one
// language, kept per program in the software reference and its cache file.

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
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

    // The characters that open or close a quotation in some language.
    static const std::set<std::string, std::less<>>& quoteMarks();
    // Full-width ":" ";" "?" "!" to their ASCII marks.
    static const std::map<std::string, std::string, std::less<>>& fullWidthMarks();
    // English openings of instructions, whose translations show the form of address; the first that
    // opens an English text claims it.
    static const std::array<std::string_view, 28>& imperativeVerbs();

    // The quotation marks a translation uses, as "«…»", with the space inside named when there is one
    // ("«…» with no-break spaces inside"); "none" when it quotes nothing. An apostrophe between two
    // letters is no quotation mark.
    static std::string quoteStyle(std::string_view translation);
    // "space", "no-break space" or "narrow no-break space"; none for any other character.
    static std::optional<std::string> spaceName(std::string_view character);
    // Counts, under each of ":" ";" "?" "!" that ends a word of the translation, the kind of character
    // before it; full-width marks count as "full-width mark". The first character is never looked at.
    static void countSpaceBefore(std::string_view translation, std::map<std::string, Counts>& spaceBefore);
    // "title case", "sentence case", "lowercase", "mixed", "one word", "no case" or "other".
    static std::string labelCaseOf(std::string_view translation);

    // All eight keys are required.
    static StyleStats fromJson(const json::Json& value);
    json::Json toJson() const;
    bool operator==(const StyleStats&) const = default;
};

} // namespace orvel
