#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "Orvel/state/StringListIndex.h"
#include "Orvel/state/StringSearch.h"
#include "tests/Orvel/state/WorkspaceFixture.h"

namespace orvel {
namespace {

using testing::sourceString;
using testing::translated;

std::vector<SourceString> strings(const std::vector<std::string>& keys) {
    std::vector<SourceString> out;
    for (const std::string& key : keys)
        out.push_back(sourceString(key, key));
    return out;
}

TranslationProject projectWith(const std::vector<std::string>& keys) {
    TranslationProject project;
    for (const std::string& key : keys)
        project.translations[SourceString::id("Main", key)] = translated("de " + key);
    return project;
}

// Rows looked up before a project is assigned point into the assigned project, whichever way it got
// there: taken as they are for the project they were looked up in, looked up again otherwise.
TEST(StringListIndex, RowsLookedUpEarlyPointIntoTheAssignedProject) {
    const struct {
        const char* what;
        std::vector<std::string> lookedUpFor;
        // How the looked-up project becomes the assigned one.
        bool copied;
        std::vector<std::string> assignedKeys;
    } rows[] = {
        {"the project moved into place", {"a", "b", "c"}, false, {"a", "c", "x"}},
        {"a copy of the project", {"a", "b", "c"}, true, {"a", "c", "x"}},
        {"rows of other strings", {"a", "b"}, false, {"a", "c", "x"}},
        {"an empty project", {"a", "b", "c"}, false, {}},
        {"an empty project copied", {"a", "b", "c"}, true, {}},
    };
    const std::vector<SourceString> shown = strings({"a", "b", "c"});
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        StringListIndex lookingUp;
        const std::vector<SourceString> lookedUpStrings = strings(row.lookedUpFor);
        lookingUp.reset(lookedUpStrings);
        std::optional<TranslationProject> assigned;
        StringListIndex::RowTranslations looked;
        {
            TranslationProject read = projectWith(row.assignedKeys);
            looked = lookingUp.lookUp(read);
            if (row.copied)
                assigned = TranslationProject(read);
            else
                assigned = std::move(read);
        }
        StringListIndex index;
        index.reset(shown);
        index.projectChanged(std::move(looked), *assigned);
        for (std::size_t i = 0; i < shown.size(); ++i) {
            const auto found = assigned->translations.find(shown[i].id());
            const StringTranslation* expected =
                found == assigned->translations.end() ? nullptr : &found->second;
            EXPECT_EQ(index.translation(i, assigned), expected) << shown[i].key;
        }
    }
}

// An edit before the first search leaves nothing behind that the search would trip over.
TEST(StringListIndex, AnEditBeforeTheFirstSearchIsFoundByIt) {
    const std::vector<SourceString> shown = strings({"Open", "Close"});
    std::optional<TranslationProject> project = projectWith({"Open"});
    StringListIndex index;
    index.reset(shown);
    ASSERT_NE(index.translation(0, project), nullptr);
    project->translations[shown[1].id()] = translated("Schliessen");
    index.translationChanged(1, &project->translations[shown[1].id()]);
    const std::string needle = *StringSearch::needle("schliessen");
    EXPECT_FALSE(index.matches(0, shown[0], index.translation(0, project), needle));
    EXPECT_TRUE(index.matches(1, shown[1], index.translation(1, project), needle));
}

// Texts folded as the workspace loads serve the first search only for the project they were folded
// from; another project assigned instead (a language chosen meanwhile) is searched by its own texts.
TEST(StringListIndex, TextsFoldedAheadServeOnlyTheirOwnProject) {
    enum class Assigned { moved, copied, replaced };
    using enum Assigned;
    const struct {
        const char* what;
        // How the project folded from becomes the assigned one: moved with its rows, copied, or replaced
        // by another project before the rows arrive.
        Assigned assigned;
        const char* search;
        bool found;
    } rows[] = {
        {"moved, its own text", moved, "de a", true},
        {"copied, its own text", copied, "de a", true},
        {"replaced, the folded text", replaced, "de a", false},
        {"replaced, the new text", replaced, "fr a", true},
        {"moved, the English", moved, "a", true},
    };
    const std::vector<SourceString> shown = strings({"a"});
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        StringListIndex index;
        index.reset(shown);
        TranslationProject read = projectWith({"a"});
        StringListIndex::RowTranslations looked = index.lookUp(read);
        index.foldAll(shown, looked);
        std::optional<TranslationProject> assigned;
        switch (row.assigned) {
        case Assigned::moved:
            assigned = std::move(read);
            index.projectChanged(std::move(looked), *assigned);
            break;
        case Assigned::copied:
            assigned = TranslationProject(read);
            index.projectChanged(std::move(looked), *assigned);
            break;
        case Assigned::replaced:
            assigned = projectWith({});
            assigned->translations[shown[0].id()] = translated("fr a");
            index.projectChanged();
            break;
        }
        const std::string needle = *StringSearch::needle(row.search);
        EXPECT_EQ(index.matches(0, shown[0], index.translation(0, assigned), needle), row.found);
    }
}

} // namespace
} // namespace orvel
