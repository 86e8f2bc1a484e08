#include "engine/reference/StyleStats.h"

namespace orvel {

StyleStats StyleStats::fromJson(const json::Json& value) {
    StyleStats stats;
    stats.quotes = json::required<Counts>(value, "quotes");
    stats.straightQuotes = json::required<Counts>(value, "straightQuotes");
    stats.ellipsis = json::required<Counts>(value, "ellipsis");
    stats.spaceBefore = json::required<std::map<std::string, Counts>>(value, "spaceBefore");
    stats.questions = json::required<Counts>(value, "questions");
    stats.labelCase = json::required<Counts>(value, "labelCase");
    stats.labelExamples = json::required<std::vector<std::vector<std::string>>>(value, "labelExamples");
    stats.imperatives = json::required<std::vector<std::vector<std::string>>>(value, "imperatives");
    return stats;
}

json::Json StyleStats::toJson() const {
    json::Json out = json::Json::object();
    json::set(out, "quotes", quotes);
    json::set(out, "straightQuotes", straightQuotes);
    json::set(out, "ellipsis", ellipsis);
    json::set(out, "spaceBefore", spaceBefore);
    json::set(out, "questions", questions);
    json::set(out, "labelCase", labelCase);
    json::set(out, "labelExamples", labelExamples);
    json::set(out, "imperatives", imperatives);
    return out;
}

} // namespace orvel
