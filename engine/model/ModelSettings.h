#pragma once
// Everything one model connection needs, and the built-in list of providers.

#include <optional>
#include <string>
#include <vector>

#include "core/Json.h"

namespace orvel {

struct ModelSettings {
    // "apple:on-device", "apple:chatgpt", or the base URL of an OpenAI-compatible service.
    std::string endpoint;
    // Sent in each request; empty for the Apple back-ends.
    std::string model;
    // Absent or empty: no "Authorization" header.
    std::optional<std::string> apiKey;
    // Absent: no temperature is sent.
    std::optional<double> temperature;
    // Whether the endpoint accepts "response_format" asking for a JSON object.
    bool jsonMode = false;
    int concurrency = 1;
    int batchSize = 1;
    // Seconds, for each HTTP request and for its whole transfer.
    double timeout = 600;
    // Sent as "reasoning_effort" when present and not empty.
    std::optional<std::string> reasoningEffort;

    // One row of the provider list offered by the settings form.
    struct Preset {
        std::string name;
        std::string endpoint;
        std::string model;
        bool jsonMode = false;
        int concurrency = 1;
        std::optional<int> batchSize;
        bool keyless = false;

        const std::string& id() const { return name; }
        bool operator==(const Preset&) const = default;
    };

    // The built-in providers, in the order the settings form lists them; built once, read-only.
    static const std::vector<Preset>& presets();

    static ModelSettings fromJson(const json::Json& value);
    json::Json toJson() const;
    bool operator==(const ModelSettings&) const = default;
};

} // namespace orvel
