#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "engine/pipeline/Counter.h"
#include "engine/pipeline/TranslationJob.h"

using namespace orvel;

TEST(TranslationJob, TheInitialiserLeavesCallbacksAndReferencesAbsent) {
    ModelSettings settings;
    settings.model = "m";
    AppNotes notes{"Be brief.", {{"Library", std::nullopt, false}}};
    TranslationStyle style{TranslationStyle::Terms::translateAll, TranslationStyle::Address::formal};
    const TranslationJob job(AppProfile("Notes", "en"), "pt-BR", settings, notes, ContextMap{}, style,
                             {{"Library", "Biblioteca"}}, true, false);
    EXPECT_EQ(job.language, "pt-BR");
    EXPECT_EQ(job.settings, settings);
    EXPECT_EQ(job.notes, notes);
    EXPECT_EQ(job.style, style);
    EXPECT_EQ(job.terms.at("Library"), "Biblioteca");
    EXPECT_TRUE(job.review);
    EXPECT_FALSE(job.verifyReview);
    EXPECT_FALSE(job.onReview);
    EXPECT_FALSE(job.onLog);
    EXPECT_FALSE(job.reference);
    EXPECT_FALSE(job.softwareReference);
}

TEST(Counter, CountsEveryStringAndKeepsTheLatestReasonPerId) {
    Counter counter;
    auto [done, failed] = counter.record(3, {{"a", "missing placeholder"}});
    EXPECT_EQ(done, 3);
    std::tie(done, failed) = counter.record(2, {{"a", "left in English"}, {"b", "no answer"}});
    EXPECT_EQ(done, 5) << "failed strings count as done too";
    EXPECT_EQ(failed, (Counter::Failures{{"a", "left in English"}, {"b", "no answer"}}));
    std::tie(done, failed) = counter.record(0, {});
    EXPECT_EQ(done, 5);
    EXPECT_EQ(counter.failed().size(), 2u);
}

TEST(Counter, BatchesFinishingTogetherLoseNoCount) {
    Counter counter;
    {
        std::vector<std::jthread> batches;
        for (int batch = 0; batch < 8; ++batch)
            batches.emplace_back([&counter, batch] {
                for (int i = 0; i < 50; ++i)
                    counter.record(1, {{std::to_string(batch) + ":" + std::to_string(i), "x"}});
            });
    }
    EXPECT_EQ(counter.record(0, {}).first, 400);
    EXPECT_EQ(counter.failed().size(), 400u);
}
