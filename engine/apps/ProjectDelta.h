#pragma once
// What one step of an update changed in a project, for a caller that holds the project itself (an open
// workspace): the entries the step put in or took out, the key terms it chose and the English it
// recorded. The caller lays them into its own project in place, so that no step costs a copy of the whole
// project, nor a look at every one of its rows.

#include <map>
#include <optional>
#include <set>
#include <string>

#include "engine/apps/StringChanges.h"
#include "engine/apps/StringTranslation.h"
#include "engine/apps/TranslationProject.h"

namespace orvel {

struct ProjectDelta {
    // String id to the entry it has after the step; none where the step took it out.
    using Entries = std::map<std::string, std::optional<StringTranslation>>;
    struct Recorded {
        std::optional<std::map<std::string, std::string>> sourceText;
        std::optional<std::string> appVersion;
        bool operator==(const Recorded&) const = default;
    };

    Entries translations;
    Entries retired;
    // The chosen terms, whole, when the step chose them.
    std::optional<std::map<std::string, std::string>> terms;
    // The English and app version, when the step recorded them.
    std::optional<Recorded> recorded;

    // The translations of one merged result.
    static ProjectDelta merged(const std::map<std::string, StringTranslation>& translations);
    // What apply() of `changes` left in `project` under every id it touched.
    static ProjectDelta applied(const TranslationProject& project, const StringChanges& changes);

    // Puts the step into `project`.
    void applyTo(TranslationProject& project) const;
    bool operator==(const ProjectDelta&) const = default;
};

} // namespace orvel
