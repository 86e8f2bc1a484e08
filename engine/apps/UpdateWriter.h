#pragma once
// Saves an update's project and publishes its overlay, one writing at a time. Results of parallel
// batches are merged in any order; were their copies written unordered, an older copy could land after
// a newer one and take merged translations off the disk. A caller that owns the project's writes (an
// open workspace) takes what every step changed instead, in the same order, lays it into the project it
// holds and writes that itself: a project file has one writer.

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/SourceString.h"
#include "engine/apps/ProjectDelta.h"
#include "engine/apps/ProjectStore.h"
#include "engine/apps/TranslatableApp.h"
#include "engine/apps/TranslationProject.h"
#include "engine/pipeline/TranslationJob.h"

namespace orvel {

class UpdateWriter {
  public:
    // Named in "language.json" as the translator of every overlay an update publishes.
    static constexpr std::string_view translator = "Orvel";

    // Takes what each step of the update changed in the project, in order, with the run's progress when
    // a merged result brought it.
    using Handover =
        std::function<void(ProjectDelta step, const std::optional<TranslationJob::Progress>& progress)>;

    // Both are read at every writing and must outlive the writer. With a handover nothing is written
    // here: every step goes to it, and nothing is thrown for a writing the caller makes.
    UpdateWriter(const TranslatableApp& app, const std::vector<SourceString>& strings,
                 Handover handover = {});

    // Saves the project file alone; `step` is what changed in `project` since the last writing.
    void save(const TranslationProject& project, ProjectDelta step);

    // Saves the project, then publishes it with the app's current strings; the first failure is thrown,
    // so a project that could not be saved is not published.
    void write(const TranslationProject& project, ProjectDelta step);

    // Merges one result into the store and writes the store's project as it stands once every earlier
    // writing has ended, so that the disk never goes back to an older copy; failures are dropped, the
    // next writing makes up for them. With a handover only the merged translations go to it, in the
    // order of the merges.
    void mergeQuietly(ProjectStore& store, const std::map<std::string, StringTranslation>& translations,
                      const TranslationJob::Progress& progress);

    // Writes the store's project as it stands, dropping failures: after a failed run, whose last writing
    // may have failed. With a handover there is nothing left to hand: every merge went to it.
    void writeLatestQuietly(const ProjectStore& store);

    // Writes the store's project as it stands, throwing the first failure; with a handover, hands `step`
    // over instead.
    void writeLatest(const ProjectStore& store, ProjectDelta step);

    bool handsOver() const { return static_cast<bool>(m_handover); }

  private:
    void saveAndPublish(const TranslationProject& project) const;
    void publishQuietly(const TranslationProject& project) const;

    const TranslatableApp& m_app;
    const std::vector<SourceString>& m_strings;
    Handover m_handover;
    std::mutex m_writing;
};

} // namespace orvel
