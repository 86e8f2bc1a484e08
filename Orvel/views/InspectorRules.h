#pragma once
// What the string inspector shows for one string, decided from the workspace's readings alone, so that
// the rules hold without widgets.

#include <QString>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/SourceString.h"
#include "engine/apps/StringTranslation.h"
#include "engine/capture/Occurrence.h"

namespace orvel {

// The optional parts of the inspector; the Source, Translation and Retranslate sections always show.
struct InspectorParts {
    bool problem = false;
    bool key = false;
    bool previousSource = false;
    bool developerNote = false;
    bool seenIn = false;

    bool operator==(const InspectorParts&) const = default;
};

InspectorParts inspectorParts(const SourceString& string, bool hasProblem, bool hasPreviousSource,
                              std::size_t occurrenceCount);

// Plural when the app's string has variations or the stored translation has plural forms.
bool usesPluralEditor(const SourceString& string, const StringTranslation* translation);

// The categories of the plural editor's rows, in display order: those of the chosen language, or of
// English without one.
const std::vector<std::string>& pluralEditorCategories(const std::optional<std::string>& language);

// The text key of a category's row label ("Other" for anything unknown).
const char* pluralLabelKey(std::string_view category);

// What the editors show: the stored form of a category, or the plain text; "" when there is none.
std::string storedPluralForm(const StringTranslation* translation, const std::string& category);
std::string storedText(const StringTranslation* translation);

// The two lines of one place the string was seen: where, then what it sits with (or its role).
struct OccurrenceLines {
    std::string place;
    std::string detail;

    bool operator==(const OccurrenceLines&) const = default;
};

OccurrenceLines occurrenceLines(const Occurrence& occurrence);

} // namespace orvel
