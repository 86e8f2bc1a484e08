#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "engine/apps/ProjectStore.h"

namespace orvel {
namespace {

StringTranslation translation(std::string text,
                              StringTranslation::Origin origin = StringTranslation::Origin::model) {
    StringTranslation t;
    t.text = std::move(text);
    t.origin = origin;
    t.source = "English";
    if (origin == StringTranslation::Origin::model)
        t.model = "test-model";
    return t;
}

TranslationProject startingProject() {
    TranslationProject project;
    project.app = "com.example.app";
    project.language = "de";
    project.translations = {{"T\x1Fmine", translation("Meins", StringTranslation::Origin::person)}};
    project.retired = {{"T\x1Fold", translation("Alt")}};
    project.terms = {{"File", "Datei"}};
    project.sourceText = std::map<std::string, std::string>{{"T\x1Fmine", "Mine"}};
    project.appVersion = "2.0";
    return project;
}

TEST(ProjectStore, MergeReplacesWholeEntriesAndNothingElse) {
    ProjectStore store(startingProject());
    const auto unchanged = store.merge({});
    EXPECT_EQ(unchanged.translations, startingProject().translations);

    store.merge({{"T\x1Fold", translation("Neu")}, {"T\x1Fmine", translation("Erst")}});
    const auto merged = store.merge({{"T\x1Fmine", translation("Zuletzt")}});
    // The later merge wins, and a person's translation is replaced whole by the model's.
    EXPECT_EQ(merged.translations.at("T\x1Fmine"), translation("Zuletzt"));
    EXPECT_EQ(merged.translations.at("T\x1Fold").text, "Neu");
    EXPECT_EQ(merged.retired, startingProject().retired);
    EXPECT_EQ(merged.terms, startingProject().terms);
    EXPECT_EQ(merged.sourceText, startingProject().sourceText);
    EXPECT_EQ(merged.appVersion, "2.0");
    EXPECT_EQ(store.project().translations, merged.translations);

    // The returned copy is the caller's own.
    auto copy = store.merge({});
    copy.translations.clear();
    EXPECT_EQ(store.project().translations.size(), 2u);
}

TEST(ProjectStore, ConcurrentMergesFromEightThreadsAllLand) {
    constexpr int threadCount = 8, batches = 50, batchSize = 4;
    ProjectStore store(startingProject());
    std::vector<int> violations(threadCount, 0);
    {
        std::vector<std::jthread> threads;
        for (int t = 0; t < threadCount; ++t)
            threads.emplace_back([&, t] {
                for (int b = 0; b < batches; ++b) {
                    std::map<std::string, StringTranslation> batch;
                    for (int i = 0; i < batchSize; ++i)
                        batch["T\x1F" + std::to_string(t) + "-" + std::to_string(b) + "-" +
                              std::to_string(i)] = translation("x");
                    batch["T\x1Fshared"] = translation(std::to_string(t));
                    const auto copy = store.merge(batch);
                    // Every merge sees all earlier merges of its own thread.
                    for (int earlier = 0; earlier <= b; ++earlier)
                        if (!copy.translations.contains("T\x1F" + std::to_string(t) + "-" +
                                                        std::to_string(earlier) + "-0"))
                            ++violations[t];
                }
            });
    }
    for (int t = 0; t < threadCount; ++t)
        EXPECT_EQ(violations[t], 0) << "thread " << t;
    const auto final = store.project();
    EXPECT_EQ(final.translations.size(), 1u + 1u + threadCount * batches * batchSize);
    EXPECT_TRUE(final.translations.contains("T\x1Fmine"));
    EXPECT_EQ(final.retired, startingProject().retired);
}

} // namespace
} // namespace orvel
