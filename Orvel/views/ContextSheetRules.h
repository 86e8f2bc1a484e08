#pragma once
// The context sheet's decisions, without widgets: what the developer ships for translators as one text,
// the style a picker asks for, and the person's glossary as its rows edit it.

#include <QString>

#include <cstddef>
#include <optional>
#include <string>

#include "engine/apps/AppNotes.h"
#include "engine/apps/TranslatableApp.h"
#include "engine/apps/TranslationProject.h"
#include "engine/model/TranslationStyle.h"

namespace orvel {

// The manifest's description and context, the context file and one paragraph per manifest glossary
// term, two line feeds apart; none when the app ships none of them. A present but empty text counts.
std::optional<QString> developerText(const TranslatableApp& app);

// The project's style (the default one without a project) with one of its two values replaced.
TranslationStyle styleWithTerms(const std::optional<TranslationProject>& project,
                                TranslationStyle::Terms terms);
TranslationStyle styleWithAddress(const std::optional<TranslationProject>& project,
                                  TranslationStyle::Address address);

// One row of the person's glossary as its fields read it; a position that is gone reads as empty.
std::string glossaryTerm(const AppNotes& notes, std::size_t position);
std::string glossaryNote(const AppNotes& notes, std::size_t position);
bool keepsAsIs(const AppNotes& notes, std::size_t position);

// The notes after one row's edit; none when the position is gone, so the edit is dropped.
std::optional<AppNotes> withGlossaryTerm(AppNotes notes, std::size_t position, std::string term);
// An empty note is stored as no note.
std::optional<AppNotes> withGlossaryNote(AppNotes notes, std::size_t position, std::string note);
// Off leaves the flag absent, never true.
std::optional<AppNotes> withKeepAsIs(AppNotes notes, std::size_t position, bool keep);
AppNotes withNewGlossaryRow(AppNotes notes);
// Drops the rows whose term is only spaces and tabs; a line break is content and stays.
AppNotes withoutBlankTerms(AppNotes notes);

} // namespace orvel
