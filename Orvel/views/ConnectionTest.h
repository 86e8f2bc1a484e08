#pragma once
// The settings form's connection test: one small chat request that asks for a JSON answer.

#include <optional>
#include <stop_token>
#include <string>

#include "engine/model/ModelSettings.h"

namespace orvel {

// Nothing when the model answered with text from which a JSON object can be read (whatever it holds);
// otherwise the description of what went wrong. Blocks for the request; never throws.
std::optional<std::string> connectionTestError(const ModelSettings& settings, std::stop_token stop);

} // namespace orvel
