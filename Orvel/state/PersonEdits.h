#pragma once
// What the person changed in one language's project while a translate run or Translate Changes went:
// translations (or their removal), chosen key terms and the style. A run hands back projects it began
// before those changes; the person's word is laid over each of them, so that no run takes it back.

#include <map>
#include <optional>
#include <string>

#include "engine/apps/ProjectDelta.h"
#include "engine/apps/StringTranslation.h"
#include "engine/apps/TranslationProject.h"
#include "engine/model/TranslationStyle.h"

namespace orvel {

struct PersonEdits {
    // The language of the project the edits belong to.
    std::string language;
    // String id to the person's translation as it now stands; none where the person removed it.
    std::map<std::string, std::optional<StringTranslation>> translations;
    // English term to its chosen word; none where the person removed the term.
    std::map<std::string, std::optional<std::string>> terms;
    std::optional<TranslationStyle> style;

    bool empty() const { return translations.empty() && terms.empty() && !style; }
    bool touches(const std::string& id) const { return translations.contains(id); }

    // Each takes what `edited`, the project just changed by the person, now holds.
    void recordTranslation(const TranslationProject& edited, const std::string& id);
    void recordTerm(const TranslationProject& edited, const std::string& term);
    void recordStyle(const TranslationProject& edited);

    // Puts every recorded change into `project`, whatever it holds there.
    void layOver(TranslationProject& project) const;
    // The same for one step of an update laid into the project the person edits: the translations the
    // person touched are left out of it (the project holds the person's word), and the terms it chose
    // take the person's over them.
    void layOver(ProjectDelta& step) const;
};

} // namespace orvel
