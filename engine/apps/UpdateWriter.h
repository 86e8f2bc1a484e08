#pragma once
// Saves an update's project and publishes its overlay, one writing at a time. Results of parallel
// batches are merged in any order; were their copies written unordered, an older copy could land after
// a newer one and take merged translations off the disk. A caller that owns the project's writes (an
// open workspace) takes every copy instead, in the same order, and writes it itself: a project file has
// one writer.

#include <functional>
#include <mutex>
#include <optional>
#include <string_view>
#include <vector>

#include "core/SourceString.h"
#include "engine/apps/ProjectStore.h"
#include "engine/apps/TranslatableApp.h"
#include "engine/apps/TranslationProject.h"
#include "engine/pipeline/TranslationJob.h"

namespace orvel {

class UpdateWriter {
  public:
    // Named in "language.json" as the translator of every overlay an update publishes.
    static constexpr std::string_view translator = "Orvel";

    // Takes each state of the project the update reaches, in order, with the run's progress when a
    // merged result brought it.
    using Handover =
        std::function<void(TranslationProject project, const std::optional<TranslationJob::Progress>& progress)>;

    // Both are read at every writing and must outlive the writer. With a handover nothing is written
    // here: every copy goes to it, and nothing is thrown for a writing the caller makes.
    UpdateWriter(const TranslatableApp& app, const std::vector<SourceString>& strings, Handover handover = {});

    // Saves the project file alone.
    void save(const TranslationProject& project);

    // Saves the project, then publishes it with the app's current strings; the first failure is thrown,
    // so a project that could not be saved is not published.
    void write(const TranslationProject& project);

    // Writes the store's project as it stands once every earlier writing has ended, so that the disk
    // never goes back to an older copy. Failures are dropped: the next writing makes up for them.
    void writeLatestQuietly(const ProjectStore& store,
                            const std::optional<TranslationJob::Progress>& progress = std::nullopt);

    // The same, throwing the first failure.
    void writeLatest(const ProjectStore& store);

    bool handsOver() const { return static_cast<bool>(m_handover); }

  private:
    void saveAndPublish(const TranslationProject& project) const;

    const TranslatableApp& m_app;
    const std::vector<SourceString>& m_strings;
    Handover m_handover;
    std::mutex m_writing;
};

} // namespace orvel
