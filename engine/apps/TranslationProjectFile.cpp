// Where a project is kept in the target app's data folder, and its loading and saving.

#include <optional>

#include "core/ByteSink.h"
#include "core/FileIO.h"
#include "core/OpenFolder.h"
#include "core/OrvelProtocol.h"
#include "core/PathComponent.h"
#include "core/PrettyJsonWriter.h"
#include "core/WrittenFiles.h"
#include "engine/apps/OverlayWriter.h"
#include "engine/apps/ProjectReader.h"
#include "engine/apps/TranslationProject.h"
#include "engine/apps/UndecodableFileCopy.h"
#include "engine/apps/UnsafeNameError.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;

std::optional<TranslationProject> decoded(const std::string& bytes) {
    if (std::optional<TranslationProject> quick = ProjectReader::quickDecode(bytes))
        return quick;
    // Everything the quick reading leaves aside, the strict decoding takes or refuses.
    try {
        return OrvelProtocol::decode<TranslationProject>(bytes);
    } catch (const json::DecodingError&) {
        return std::nullopt;
    }
}

} // namespace

fs::path TranslationProject::fileURL(const TranslatableApp& app, const std::string& language) {
    return app.projectFolder() / (language + ".json");
}

TranslationProject TranslationProject::load(const TranslatableApp& app, const std::string& language) {
    // The rebuild reads nothing for a code or an identifier that cannot name a file, and gives the
    // empty project.
    if (isSafePathComponent(language) && isSafePathComponent(app.bundleIdentifier) &&
        app.hasNoLinks(app.projectFolder())) {
        const fs::path file = fileURL(app, language);
        if (auto bytes = FileIO::readIfPresent(file, FileIO::Links::refuse))
            if (auto project = decoded(*bytes)) {
                // The file's name says whose project it is: a language edited by hand inside would send
                // every later save of it, and its overlay, to another language's files.
                project->language = language;
                return std::move(*project);
            }
        // Whatever this process wrote there last no longer reads: the next save keeps it aside first.
        WrittenFiles::forget(file);
    }
    return OverlayWriter::read(app, language);
}

void TranslationProject::save(const TranslatableApp& app) const {
    requireSafeLanguageCode(language);
    const fs::path file = fileURL(app, language);
    // Opened once: an app that swaps the folder for a link meanwhile cannot redirect the write.
    const OpenFolder folder = app.openWithoutLinks(app.projectFolder());
    // The rebuild from the overlay cannot give back retired entries, terms, style or the recorded English.
    // A file that is still the one this process wrote decodes; only someone else's change is read.
    const std::string name = file.filename().string();
    if (!WrittenFiles::isUnchanged(file))
        keepUndecodableFile(folder, name,
                            [](const std::string& existing) { return decoded(existing).has_value(); });
    // Encoded straight into the temporary file: the text of a large project is never held whole.
    folder.replaceFile(name, [this](const ByteSink& write) {
        PrettyJsonWriter writer(write);
        encode(writer);
        writer.finish();
    });
    WrittenFiles::remember(file);
}

} // namespace orvel
