#include "Orvel/views/ContextSheetRules.h"

#include "Orvel/views/TextKeys.h"

#include <QStringList>

#include <algorithm>

namespace orvel {

namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

QString glossaryParagraph(const AppManifest::Term& term) {
    QString paragraph = term.translate == false
                            ? localizedFormat("%@ (kept as is)", {fromUtf8(term.term)},
                                              "A glossary term that stays untranslated; %@ is the term")
                            : fromUtf8(term.term);
    if (term.note)
        paragraph += QStringLiteral(": ") + fromUtf8(*term.note);
    return paragraph;
}

bool isBlank(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\t'; });
}

TranslationStyle currentStyle(const std::optional<TranslationProject>& project) {
    return project ? project->style : TranslationStyle{};
}

} // namespace

std::optional<QString> developerText(const TranslatableApp& app) {
    QStringList paragraphs;
    if (app.manifest) {
        if (app.manifest->description)
            paragraphs << fromUtf8(*app.manifest->description);
        if (app.manifest->context)
            paragraphs << fromUtf8(*app.manifest->context);
    }
    if (app.contextText)
        paragraphs << fromUtf8(*app.contextText);
    if (app.manifest && app.manifest->glossary)
        for (const AppManifest::Term& term : *app.manifest->glossary)
            paragraphs << glossaryParagraph(term);
    if (paragraphs.isEmpty())
        return std::nullopt;
    return paragraphs.join(QStringLiteral("\n\n"));
}

TranslationStyle styleWithTerms(const std::optional<TranslationProject>& project,
                                TranslationStyle::Terms terms) {
    TranslationStyle style = currentStyle(project);
    style.terms = terms;
    return style;
}

TranslationStyle styleWithAddress(const std::optional<TranslationProject>& project,
                                  TranslationStyle::Address address) {
    TranslationStyle style = currentStyle(project);
    style.address = address;
    return style;
}

std::string glossaryTerm(const AppNotes& notes, std::size_t position) {
    return position < notes.glossary.size() ? notes.glossary[position].term : std::string();
}

std::string glossaryNote(const AppNotes& notes, std::size_t position) {
    return position < notes.glossary.size() ? notes.glossary[position].note.value_or(std::string())
                                            : std::string();
}

bool keepsAsIs(const AppNotes& notes, std::size_t position) {
    return position < notes.glossary.size() && notes.glossary[position].translate == false;
}

std::optional<AppNotes> withGlossaryTerm(AppNotes notes, std::size_t position, std::string term) {
    if (position >= notes.glossary.size())
        return std::nullopt;
    notes.glossary[position].term = std::move(term);
    return notes;
}

std::optional<AppNotes> withGlossaryNote(AppNotes notes, std::size_t position, std::string note) {
    if (position >= notes.glossary.size())
        return std::nullopt;
    auto& stored = notes.glossary[position].note;
    stored = note.empty() ? std::nullopt : std::optional<std::string>(std::move(note));
    return notes;
}

std::optional<AppNotes> withKeepAsIs(AppNotes notes, std::size_t position, bool keep) {
    if (position >= notes.glossary.size())
        return std::nullopt;
    notes.glossary[position].translate = keep ? std::optional<bool>(false) : std::nullopt;
    return notes;
}

AppNotes withNewGlossaryRow(AppNotes notes) {
    notes.glossary.push_back(AppManifest::Term{});
    return notes;
}

AppNotes withoutBlankTerms(AppNotes notes) {
    std::erase_if(notes.glossary, [](const AppManifest::Term& term) { return isBlank(term.term); });
    return notes;
}

} // namespace orvel
