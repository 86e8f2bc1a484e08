#include <gtest/gtest.h>

#include <algorithm>

#include "engine/model/ModelSettings.h"

using namespace orvel;

namespace {

ModelSettings plainSettings() {
    ModelSettings settings;
    settings.endpoint = "http://localhost:11434/v1";
    settings.model = "qwen3:14b";
    settings.jsonMode = true;
    settings.concurrency = 2;
    settings.batchSize = 20;
    settings.timeout = 600;
    return settings;
}

} // namespace

TEST(ModelSettings, OptionalFieldsAreLeftOutAndTheValueRoundTrips) {
    const ModelSettings settings = plainSettings();
    const json::Json encoded = settings.toJson();
    std::vector<std::string> keys;
    for (const auto& [key, value] : encoded.items())
        keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<std::string>{"batchSize", "concurrency", "endpoint", "jsonMode", "model",
                                              "timeout"}));
    EXPECT_EQ(ModelSettings::fromJson(encoded), settings);

    ModelSettings full = settings;
    full.apiKey = "sk-1";
    full.temperature = 0.2;
    full.reasoningEffort = "low";
    const auto decoded = ModelSettings::fromJson(json::parse(json::dump(full.toJson())));
    EXPECT_EQ(decoded, full);
    EXPECT_NE(decoded, settings);
}

TEST(ModelSettings, EveryRequiredKeyMustBePresent) {
    for (const char* key : {"endpoint", "model", "jsonMode", "concurrency", "batchSize", "timeout"}) {
        json::Json encoded = plainSettings().toJson();
        encoded.erase(key);
        EXPECT_THROW(ModelSettings::fromJson(encoded), json::DecodingError) << key;
    }
    json::Json wrongType = plainSettings().toJson();
    wrongType["concurrency"] = "4";
    EXPECT_THROW(ModelSettings::fromJson(wrongType), json::DecodingError);
}

TEST(ModelSettings, PresetsListTheEightProvidersInOrder) {
    const auto& presets = ModelSettings::presets();
    std::vector<std::string> names;
    for (const auto& preset : presets)
        names.push_back(preset.id());
    EXPECT_EQ(names, (std::vector<std::string>{"ChatGPT through Apple Intelligence",
                                               "Apple Intelligence, on this Mac", "OpenAI", "Anthropic",
                                               "Google Gemini", "OpenRouter", "Ollama", "LM Studio"}));
    EXPECT_EQ(&presets, &ModelSettings::presets());

    const auto ollama =
        std::find_if(presets.begin(), presets.end(), [](const auto& p) { return p.name == "Ollama"; });
    ASSERT_NE(ollama, presets.end());
    EXPECT_EQ(ollama->concurrency, 1);
    EXPECT_FALSE(ollama->batchSize);
    EXPECT_EQ(ollama->model, "qwen3:14b");
    EXPECT_TRUE(ollama->endpoint.starts_with("http://") && ollama->endpoint.ends_with(":11434/v1"));

    for (const auto& preset : presets) {
        const bool apple = preset.endpoint.starts_with("apple:");
        EXPECT_EQ(preset.keyless, apple) << preset.name;
        EXPECT_EQ(preset.batchSize.has_value(), apple) << preset.name;
        EXPECT_FALSE(preset.endpoint.ends_with("/")) << preset.name;
        EXPECT_EQ(preset.endpoint.find("/chat/completions"), std::string::npos) << preset.name;
    }
    EXPECT_EQ(presets[0].batchSize, 25);
    EXPECT_EQ(presets[1].batchSize, 8);
    EXPECT_TRUE(presets[4].endpoint.starts_with("https://") &&
                presets[4].endpoint.ends_with("/v1beta/openai"));
    EXPECT_TRUE(presets[5].endpoint.ends_with("/api/v1"));
}
