#pragma once
// What the person wrote about an app for the model, shared by all its languages.

#include <string>
#include <vector>

#include "core/AppManifest.h"
#include "core/Json.h"

namespace orvel {

struct AppNotes {
    std::string notes;
    std::vector<AppManifest::Term> glossary;

    // Both keys are required.
    static AppNotes fromJson(const json::Json& value);
    json::Json toJson() const;
    bool operator==(const AppNotes&) const = default;
};

} // namespace orvel
