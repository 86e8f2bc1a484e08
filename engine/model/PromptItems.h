#pragma once
// The records of the user messages: one per string, term or change, each written as one compact JSON
// line with its keys in field order; absent fields leave their keys out.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/Json.h"

namespace orvel::Prompt {

// One string to translate.
struct Item {
    // Numbers the item within its request; the answer refers to it.
    std::string id;
    // The English text.
    std::string text;
    // The target language's plural categories with their numbers; the answer gives one form for each.
    std::optional<std::string> plural{};
    // Always true when present: the text holds a count that may change its words.
    std::optional<bool> countable{};
    // Up to three places where the string is seen.
    std::optional<std::vector<std::string>> where{};
    // The developer's comment for translators.
    std::optional<std::string> note{};
    std::optional<std::string> key{};
    // The translation the string has now, and what the person wants changed in it.
    std::optional<std::string> current{};
    std::optional<std::string> feedback{};
    // What was wrong with the previous answer.
    std::optional<std::string> problem{};
    // How macOS writes the names in the text.
    std::optional<std::vector<std::string>> os{};
    // How widely used software phrased a word of the text.
    std::optional<std::vector<std::string>> phrases{};

    bool operator==(const Item&) const = default;
    json::OrderedJson toJson() const;
};

// One key term whose translation is to be fixed.
struct TermItem {
    std::string term;
    // Strings of the app that use the term; written also when empty.
    std::vector<std::string> examples{};
    // How macOS writes the term, when it names a macOS app, place or setting.
    std::optional<std::string> os{};
    // How the reference software translated the term, with counts.
    std::optional<std::string> evidence{};

    bool operator==(const TermItem&) const = default;
    json::OrderedJson toJson() const;
};

// One translation to review.
struct ReviewItem {
    std::string id;
    std::string source;
    std::optional<std::string> translation{};
    // Category to form, for strings with plural forms.
    std::optional<std::map<std::string, std::string>> plural{};
    std::optional<std::vector<std::string>> where{};
    // A problem already known; the model is told to fix it.
    std::optional<std::string> problem{};

    bool operator==(const ReviewItem&) const = default;
    json::OrderedJson toJson() const;
};

// One proposed change, read as "B is A with a change"; written under the keys "A" and "B".
struct JudgeItem {
    std::string id;
    std::string source;
    std::string a;
    std::string b;
    std::optional<std::vector<std::string>> where{};

    bool operator==(const JudgeItem&) const = default;
    json::OrderedJson toJson() const;
};

// "[", one item per line with a comma after every line but the last, "]". An item that cannot be
// encoded (text that is not UTF-8) is left out.
std::string jsonArray(const std::vector<Item>& items);
std::string jsonArray(const std::vector<TermItem>& items);
std::string jsonArray(const std::vector<ReviewItem>& items);
std::string jsonArray(const std::vector<JudgeItem>& items);

} // namespace orvel::Prompt
