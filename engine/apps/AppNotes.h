#pragma once
// What the person wrote about an app for the model, shared by all its languages.

#include <string>
#include <vector>

#include "core/AppManifest.h"
#include "core/Json.h"
#include "engine/apps/TranslatableApp.h"

namespace orvel {

struct AppNotes {
    std::string notes;
    std::vector<AppManifest::Term> glossary;

    // Both keys are required.
    static AppNotes fromJson(const json::Json& value);
    json::Json toJson() const;

    // The app's "notes.json" in its project folder; a missing, unreadable or undecodable file gives the
    // empty notes.
    static AppNotes load(const TranslatableApp& app);
    // Replaces "notes.json" atomically; a file there that does not decode is first kept once as
    // "notes.json.broken" beside it, and one that cannot be read is moved there (keepUndecodableFile).
    // Throws UnkeptFileError, and encoding or file errors.
    void save(const TranslatableApp& app) const;
    bool operator==(const AppNotes&) const = default;
};

} // namespace orvel
