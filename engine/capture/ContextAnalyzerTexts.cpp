// What the texts of elements mean: the index of known texts, string ids, readable names.

#include <set>

#include "core/Characters.h"
#include "core/Markers.h"
#include "core/Regex.h"
#include "core/ScalarTrimming.h"
#include "core/Unicode.h"
#include "engine/capture/ContextAnalyzer.h"

namespace orvel::ContextAnalyzer {
namespace {

std::string_view withoutInlineSpace(std::string_view text) {
    return text::trimmedScalars(text, text::isInlineWhitespace);
}

// A text that two strings share names neither, so it is remembered and removed at the end.
void addText(TextIndex& index, std::set<std::string>& ambiguous, std::string_view text,
             const std::string& id) {
    std::string trimmed(withoutInlineSpace(text));
    // A format string never appears on screen as written.
    if (trimmed.empty() || trimmed.find('%') != std::string::npos)
        return;
    auto [it, inserted] = index.try_emplace(std::move(trimmed), id);
    if (!inserted && it->second != id)
        ambiguous.insert(it->first);
}

// The string id a marker stands for, when the table names a string for it.
std::optional<std::string> markedId(std::int64_t marker, const MarkerTable& markers) {
    auto entry = markers.find(std::to_string(marker));
    if (entry == markers.end() || entry->second.size() != 2)
        return std::nullopt;
    return SourceString::id(entry->second[0], entry->second[1]);
}

} // namespace

EnglishTexts englishTexts(const std::vector<SourceString>& strings) {
    EnglishTexts out;
    for (const SourceString& string : strings)
        out.insert_or_assign(string.id(), string.text);
    return out;
}

TextIndex textIndex(const std::vector<SourceString>& strings, const TranslationProject* project) {
    TextIndex index;
    std::set<std::string> ambiguous;
    for (const SourceString& string : strings) {
        const std::string id = string.id();
        addText(index, ambiguous, string.text, id);
        if (!project)
            continue;
        auto translation = project->translations.find(id);
        if (translation != project->translations.end() && translation->second.text)
            addText(index, ambiguous, *translation->second.text, id);
    }
    for (const std::string& text : ambiguous)
        index.erase(text);
    return index;
}

std::vector<Text> texts(const AXNode& node) {
    std::vector<Text> out;
    if (node.title)
        out.push_back({TextKind::title, *node.title});
    if (node.label && node.label != node.title)
        out.push_back({TextKind::label, *node.label});
    // A check box's or slider's value is its state, not a text of the app.
    if (node.value && node.role != "AXCheckBox" && node.role != "AXRadioButton" && node.role != "AXSlider")
        out.push_back({TextKind::value, *node.value});
    if (node.help)
        out.push_back({TextKind::help, *node.help});
    if (node.placeholder)
        out.push_back({TextKind::placeholder, *node.placeholder});
    return out;
}

std::vector<std::string> ids(std::string_view text, const Tables& tables) {
    Markers::Stripped stripped = Markers::strip(text);
    std::vector<std::string> out;
    for (std::int64_t marker : stripped.ids)
        if (auto id = markedId(marker, tables.markers))
            out.push_back(std::move(*id));
    if (!out.empty())
        return out;
    auto found = tables.index.find(std::string(withoutInlineSpace(stripped.text)));
    if (found != tables.index.end())
        out.push_back(found->second);
    return out;
}

std::string displayText(std::string_view title, const Tables& tables) {
    Markers::Stripped stripped = Markers::strip(title);
    if (stripped.ids.empty())
        return std::move(stripped.text);
    auto entry = tables.markers.find(std::to_string(stripped.ids.front()));
    if (entry == tables.markers.end() || entry->second.size() != 2)
        return std::move(stripped.text);
    auto english = tables.english.find(SourceString::id(entry->second[0], entry->second[1]));
    return english != tables.english.end() ? english->second : entry->second[1];
}

bool isReadable(std::string_view text) {
    std::size_t letters = 0;
    std::size_t numerics = 0;
    for (std::string_view character : text::graphemes(text)) {
        if (text::isLetter(character))
            ++letters;
        else if (text::isDigit(character))
            ++numerics;
    }
    if (letters < 2 || numerics >= letters)
        return false;
    static const CompiledRegex twoLetters = RegexCache::regex("\\p{L}{2}");
    return regex::contains(*twoLetters, text);
}

} // namespace orvel::ContextAnalyzer
