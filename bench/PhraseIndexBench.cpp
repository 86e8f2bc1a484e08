#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/reference/PhraseIndex.h"
#include "engine/reference/SoftwareReference.h"

namespace {

const std::vector<std::string>& vocabulary() {
    static const std::vector<std::string> words = [] {
        std::vector<std::string> made{"open",   "clear",  "set",     "free",  "right", "play",    "check",
                                      "space",  "change", "current", "next",  "back",  "home",    "file",
                                      "folder", "window", "history", "cache", "data",  "account", "the",
                                      "all",    "your",   "to",      "from",  "new",   "%@",      "settings"};
        for (int i = 0; i < 400; ++i)
            made.push_back("word" + std::to_string(i));
        return made;
    }();
    return words;
}

std::string sentence(std::mt19937& random, int words) {
    std::string text;
    for (int w = 0; w < words; ++w)
        text += (w ? " " : "") + vocabulary()[random() % vocabulary().size()];
    return text;
}

// A table of about 50,000 English texts of one to seven words with one to three translations each.
const orvel::SoftwareReference::Table& table() {
    static const orvel::SoftwareReference::Table made = [] {
        std::mt19937 random(50000);
        orvel::SoftwareReference::Table table;
        const char* sources[] = {"android", "chromium", "firefox", "thunderbird", "libreoffice", "vlc"};
        while (table.size() < 50000) {
            std::vector<orvel::SoftwareReference::Entry> entries;
            for (int e = 0, count = 1 + static_cast<int>(random() % 3); e < count; ++e)
                entries.push_back({sentence(random, 2), {{sources[random() % 6], 1 + random() % 9}}});
            table.emplace(sentence(random, 1 + static_cast<int>(random() % 7)), std::move(entries));
        }
        return table;
    }();
    return made;
}

orvel::SoftwareReference reference() {
    orvel::SoftwareReference made;
    made.table = table();
    made.phraseIndex = std::make_shared<orvel::PhraseIndex>();
    return made;
}

void BM_PhraseIndexBuild(benchmark::State& state) {
    const auto& source = table();
    for (auto _ : state)
        benchmark::DoNotOptimize(orvel::PhraseIndex::build(source));
}
BENCHMARK(BM_PhraseIndexBuild)->Unit(benchmark::kMillisecond);

void BM_PhrasesOfABatch(benchmark::State& state) {
    const orvel::SoftwareReference built = reference();
    std::mt19937 random(20);
    std::vector<std::string> batch;
    for (int i = 0; i < 20; ++i)
        batch.push_back(sentence(random, 4 + static_cast<int>(random() % 8)));
    built.phrases(batch.front(), 4);
    for (auto _ : state)
        for (const auto& text : batch)
            benchmark::DoNotOptimize(built.phrases(text, 4));
}
BENCHMARK(BM_PhrasesOfABatch)->Unit(benchmark::kMillisecond);

} // namespace
