#pragma once
// Saves an update's project and publishes its overlay, one writing at a time. Results of parallel
// batches are merged in any order; were their copies written unordered, an older copy could land after
// a newer one and take merged translations off the disk.

#include <mutex>
#include <string_view>
#include <vector>

#include "core/SourceString.h"
#include "engine/apps/ProjectStore.h"
#include "engine/apps/TranslatableApp.h"
#include "engine/apps/TranslationProject.h"

namespace orvel {

class UpdateWriter {
  public:
    // Named in "language.json" as the translator of every overlay an update publishes.
    static constexpr std::string_view translator = "Orvel";

    // Both are read at every writing and must outlive the writer.
    UpdateWriter(const TranslatableApp& app, const std::vector<SourceString>& strings);

    // Saves the project, then publishes it with the app's current strings; the first failure is thrown,
    // so a project that could not be saved is not published.
    void write(const TranslationProject& project);

    // Writes the store's project as it stands once every earlier writing has ended, so that the disk
    // never goes back to an older copy. Failures are dropped: the next writing makes up for them.
    void writeLatestQuietly(const ProjectStore& store);

    // The same, throwing the first failure.
    void writeLatest(const ProjectStore& store);

  private:
    void saveAndPublish(const TranslationProject& project) const;

    const TranslatableApp& m_app;
    const std::vector<SourceString>& m_strings;
    std::mutex m_writing;
};

} // namespace orvel
