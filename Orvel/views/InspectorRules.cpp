#include "Orvel/views/InspectorRules.h"

#include "core/PluralRules.h"

namespace orvel {

InspectorParts inspectorParts(const SourceString& string, bool hasProblem, bool hasPreviousSource,
                              std::size_t occurrenceCount) {
    return InspectorParts{.problem = hasProblem,
                          .key = string.key != string.text,
                          .previousSource = hasPreviousSource,
                          .developerNote = string.comment && !string.comment->empty(),
                          .seenIn = occurrenceCount > 0};
}

bool usesPluralEditor(const SourceString& string, const StringTranslation* translation) {
    return string.plural.has_value() || (translation && translation->plural.has_value());
}

const std::vector<std::string>& pluralEditorCategories(const std::optional<std::string>& language) {
    return PluralRules::categories(language.value_or("en"));
}

const char* pluralLabelKey(std::string_view category) {
    if (category == "zero")
        return "Zero";
    if (category == "one")
        return "One";
    if (category == "two")
        return "Two";
    if (category == "few")
        return "Few";
    if (category == "many")
        return "Many";
    return "Other";
}

std::string storedPluralForm(const StringTranslation* translation, const std::string& category) {
    if (!translation || !translation->plural)
        return {};
    const auto form = translation->plural->find(category);
    return form == translation->plural->end() ? std::string() : form->second;
}

std::string storedText(const StringTranslation* translation) {
    return translation && translation->text ? *translation->text : std::string();
}

OccurrenceLines occurrenceLines(const Occurrence& occurrence) {
    OccurrenceLines lines;
    lines.place = occurrence.section ? occurrence.screen + " > " + *occurrence.section : occurrence.screen;
    if (occurrence.row.size() > 1) {
        for (std::size_t i = 0; i < occurrence.row.size(); ++i)
            lines.detail += (i ? " · " : "") + occurrence.row[i];
    } else {
        lines.detail = occurrence.role;
    }
    return lines;
}

} // namespace orvel
