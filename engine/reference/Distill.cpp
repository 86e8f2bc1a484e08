#include "engine/reference/Distill.h"

#include <algorithm>
#include <limits>
#include <set>
#include <utility>

#include "core/Languages.h"
#include "core/TextPieces.h"
#include "core/TextReplacing.h"
#include "engine/reference/AppleReference.h"

namespace orvel::Distill {
namespace {

using Source = SoftwareReference::Source;

constexpr std::string_view narrowNoBreakSpace = "\u202F";
constexpr std::string_view emDash = "—";
constexpr std::size_t shortestGroupedNumber = 5;
constexpr std::size_t labelExamplesShown = 12;

std::string key(Source source) {
    return std::string(rawValue(source));
}

// A text inside an example list: line feeds as "⏎", tabs as spaces.
std::string lineForm(std::string_view text) {
    return text::replacingAll(text::replacingAll(text, "\n", "⏎"), "\t", " ");
}

// Counts come from a cache file anyone may edit; a sum that would not fit stays at the limit.
std::int64_t saturatingSum(std::int64_t a, std::int64_t b) {
    std::int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        return b > 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
    return sum;
}

bool hasConsensusSource(const SoftwareReference::Entry& entry) {
    return entry.counts.contains(key(Source::android)) || entry.counts.contains(key(Source::chromium));
}

// "«text» (Android 12, Firefox 3)"; the counts plain, as a table row holds many of them.
std::string attestedTranslation(const SoftwareReference::Entry& entry) {
    std::vector<std::string> attestations;
    for (Source source : SoftwareReference::allSources)
        if (const auto count = entry.counts.find(key(source)); count != entry.counts.end())
            attestations.push_back(std::string(displayName(source)) + " " + std::to_string(count->second));
    return "«" + entry.text + "» (" + text::joined(attestations, ", ") + ")";
}

void addHeader(std::vector<std::string>& lines, const SoftwareReference& reference) {
    lines.push_back("# " + Languages::englishName(reference.language) + " (" + reference.language + ")");
    lines.emplace_back();
    lines.push_back(
        "Evidence from the human translations in Android 9, Chromium 70, Firefox 60, Thunderbird 60, "
        "LibreOffice 6.0 and VLC 3.0, all released in 2018. Built by `orvel distill " +
        reference.language + "`.");
    lines.emplace_back();
    std::vector<std::string> given;
    std::vector<std::string> missing;
    for (Source source : SoftwareReference::allSources) {
        const std::string name(displayName(source));
        if (const auto pairs = reference.pairs.find(key(source)); pairs != reference.pairs.end())
            given.push_back(name + " " + groupedNumber(pairs->second));
        else if (std::find(reference.failed.begin(), reference.failed.end(), key(source)) !=
                 reference.failed.end())
            missing.push_back(name + " (download failed)");
        else
            missing.push_back(name + " (no translation)");
    }
    lines.push_back("Pairs: " + (given.empty() ? std::string("none") : text::joined(given, ", ")) + ".");
    if (!missing.empty())
        lines.push_back("No pairs from: " + text::joined(missing, ", ") + ".");
}

void addCommonWords(std::vector<std::string>& lines, const SoftwareReference& reference) {
    lines.insert(lines.end(),
                 {"", "## Common words", "",
                  "A ✓ marks a consensus: at least two sources agree on the translation, and Android or "
                  "Chromium is one of them.",
                  "", "| English | Consensus | Translations |", "|---|---|---|"});
    std::size_t agreed = 0;
    static const std::vector<SoftwareReference::Entry> none;
    for (std::string_view word : commonWords()) {
        const auto found = reference.table.find(AppleReference::americanized(word));
        const auto& entries = found == reference.table.end() ? none : found->second;
        std::string consensusCell;
        if (const auto agreement = consensus(entries)) {
            consensusCell = "✓ " + cellForm(agreement->text);
            ++agreed;
        }
        std::vector<std::string> translations;
        for (const SoftwareReference::Entry& entry : entries)
            translations.push_back(attestedTranslation(entry));
        const std::string translationsCell =
            translations.empty() ? std::string(emDash) : text::joined(translations, "; ");
        lines.push_back("| " + cellForm(word) + " | " + consensusCell + " | " + cellForm(translationsCell) +
                        " |");
    }
    lines.emplace_back();
    lines.push_back(std::to_string(agreed) + " of " + std::to_string(commonWords().size()) +
                    " have a consensus.");
}

struct SectionRow {
    std::string title;
    std::string note;
    CountsOf countsOf;
};

std::vector<SectionRow> typographySections() {
    std::vector<SectionRow> rows{
        {"Quotation marks", "Around a span that the English quotes with “…”.",
         [](const StyleStats& stats) { return stats.quotes; }},
        {"Quotation marks after straight quotes",
         "Around a span that the English quotes with \"…\". Translators often kept these as they were.",
         [](const StyleStats& stats) { return stats.straightQuotes; }},
        {"Ellipsis", "How a translation ends when its English ends in “…” or “...”.",
         [](const StyleStats& stats) { return stats.ellipsis; }},
    };
    for (std::string mark : {":", "?", "!", ";"})
        rows.push_back({"Before “" + mark + "”",
                        "What comes before " + mark +
                            " at the end of a word, in every translation. A full-width mark has no space.",
                        [mark](const StyleStats& stats) {
                            const auto found = stats.spaceBefore.find(mark);
                            return found == stats.spaceBefore.end() ? StyleStats::Counts{} : found->second;
                        }});
    rows.push_back({"Questions", "The last character of a translation whose English ends in “?”.",
                    [](const StyleStats& stats) { return stats.questions; }});
    rows.push_back({"Labels in Title Case",
                    "English labels of two or three words, every word capitalized (“Show All”, “Check For "
                    "Updates”).",
                    [](const StyleStats& stats) { return stats.labelCase; }});
    return rows;
}

void addLabelExamples(std::vector<std::string>& lines, const std::vector<Source>& sources,
                      const SoftwareReference& reference) {
    std::set<std::string, std::less<>> seen;
    std::vector<std::string> shown;
    for (Source source : sources)
        for (const std::vector<std::string>& example : reference.style.at(key(source)).labelExamples) {
            // Read from a cache file: an example without its three parts is passed over.
            if (example.size() < 3 || shown.size() == labelExamplesShown)
                continue;
            if (seen.insert(example[0] + example[1]).second)
                shown.push_back("- " + example[0] + ": " + example[1] + " → " + example[2]);
        }
    if (shown.empty())
        return;
    lines.emplace_back();
    lines.insert(lines.end(), shown.begin(), shown.end());
}

void addFormOfAddress(std::vector<std::string>& lines, const std::vector<Source>& sources,
                      const SoftwareReference& reference) {
    lines.insert(lines.end(), {"", "## Form of address", "",
                               "English imperatives and their translations, up to 15 from each source."});
    for (Source source : sources) {
        const auto& imperatives = reference.style.at(key(source)).imperatives;
        if (imperatives.empty())
            continue;
        lines.insert(lines.end(), {"", "### " + std::string(displayName(source)), ""});
        for (const std::vector<std::string>& imperative : imperatives)
            if (imperative.size() >= 2)
                lines.push_back("- " + lineForm(imperative[0]) + " → " + lineForm(imperative[1]));
    }
}

} // namespace

std::string groupedNumber(std::int64_t number) {
    const std::string plain = std::to_string(number);
    const std::size_t sign = number < 0 ? 1 : 0;
    const std::string_view digits = std::string_view(plain).substr(sign);
    if (digits.size() < shortestGroupedNumber)
        return plain;
    std::string grouped = plain.substr(0, sign);
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += narrowNoBreakSpace;
        grouped += digits[i];
    }
    return grouped;
}

std::string cellForm(std::string_view text) {
    return text::replacingAll(lineForm(text), "|", "\\|");
}

std::optional<SoftwareReference::Entry> consensus(const std::vector<SoftwareReference::Entry>& entries) {
    for (const SoftwareReference::Entry& entry : entries)
        if (entry.counts.size() >= 2 && hasConsensusSource(entry))
            return entry;
    return std::nullopt;
}

std::string counts(const StyleStats::Counts& counts) {
    if (counts.empty())
        return std::string(emDash);
    std::vector<std::pair<std::string, std::int64_t>> items(counts.begin(), counts.end());
    // The map is ordered by key, so a stable sort by count leaves ties in key order.
    std::stable_sort(items.begin(), items.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    std::vector<std::string> parts;
    for (const auto& [label, count] : items)
        parts.push_back(label + " " + groupedNumber(count));
    return text::joined(parts, ", ");
}

void section(std::vector<std::string>& lines, std::string_view title, std::string_view note,
             const std::vector<Source>& sources, const SoftwareReference& reference,
             const CountsOf& countsOf) {
    lines.insert(lines.end(), {"", "### " + std::string(title), "", std::string(note), "",
                               "| Source | Counts |", "|---|---|"});
    StyleStats::Counts total;
    std::vector<std::string> rows;
    for (Source source : sources) {
        const StyleStats::Counts own = countsOf(reference.style.at(key(source)));
        for (const auto& [label, count] : own)
            total[label] = saturatingSum(total[label], count);
        rows.push_back("| " + std::string(displayName(source)) + " | " + cellForm(counts(own)) + " |");
    }
    lines.push_back("| All | " + cellForm(counts(total)) + " |");
    lines.insert(lines.end(), rows.begin(), rows.end());
}

std::string render(const SoftwareReference& reference) {
    std::vector<std::string> lines;
    addHeader(lines, reference);
    addCommonWords(lines, reference);

    std::vector<Source> sources;
    for (Source source : SoftwareReference::allSources)
        if (reference.style.contains(key(source)))
            sources.push_back(source);
    lines.insert(lines.end(), {"", "## Typography"});
    for (const SectionRow& row : typographySections())
        section(lines, row.title, row.note, sources, reference, row.countsOf);
    addLabelExamples(lines, sources, reference);
    addFormOfAddress(lines, sources, reference);
    return text::joined(lines, "\n") + "\n";
}

} // namespace orvel::Distill
