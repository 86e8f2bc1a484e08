#include "engine/model/ModelSettings.h"

namespace orvel {

const std::vector<ModelSettings::Preset>& ModelSettings::presets() {
    static const std::vector<Preset> list{
        {"ChatGPT through Apple Intelligence", "apple:chatgpt", "", false, 2, 25, true},
        {"Apple Intelligence, on this Mac", "apple:on-device", "", false, 1, 8, true},
        {"OpenAI", "https://api.openai.com/v1", "gpt-5-mini", true, 4, std::nullopt, false},
        {"Anthropic", "https://api.anthropic.com/v1", "claude-sonnet-5-5", false, 4, std::nullopt, false},
        {"Google Gemini", "https://generativelanguage.googleapis.com/v1beta/openai", "gemini-3.5-flash-lite",
         true, 4, std::nullopt, false},
        {"OpenRouter", "https://openrouter.ai/api/v1", "openai/gpt-5-mini", true, 4, std::nullopt, false},
        {"Ollama", "http://localhost:11434/v1", "qwen3:14b", true, 1, std::nullopt, false},
        {"LM Studio", "http://localhost:1234/v1", "", false, 1, std::nullopt, false},
    };
    return list;
}

ModelSettings ModelSettings::fromJson(const json::Json& value) {
    ModelSettings settings;
    settings.endpoint = json::required<std::string>(value, "endpoint");
    settings.model = json::required<std::string>(value, "model");
    settings.apiKey = json::optional<std::string>(value, "apiKey");
    settings.temperature = json::optional<double>(value, "temperature");
    settings.jsonMode = json::required<bool>(value, "jsonMode");
    settings.concurrency = json::required<int>(value, "concurrency");
    settings.batchSize = json::required<int>(value, "batchSize");
    settings.timeout = json::required<double>(value, "timeout");
    settings.reasoningEffort = json::optional<std::string>(value, "reasoningEffort");
    return settings;
}

json::Json ModelSettings::toJson() const {
    json::Json out = json::Json::object();
    json::set(out, "endpoint", endpoint);
    json::set(out, "model", model);
    json::set(out, "apiKey", apiKey);
    json::set(out, "temperature", temperature);
    json::set(out, "jsonMode", jsonMode);
    json::set(out, "concurrency", concurrency);
    json::set(out, "batchSize", batchSize);
    json::set(out, "timeout", timeout);
    json::set(out, "reasoningEffort", reasoningEffort);
    return out;
}

} // namespace orvel
