#pragma once
// An app update under a scratch home, with a scripted model behind the pipeline: it translates every
// string as "de:" + its English, rejects the ids it is told to, and can deliver batches from parallel
// threads and fail after some of them.

#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <latch>
#include <mutex>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "core/OrvelProtocol.h"
#include "core/StringsFiles.h"
#include "engine/apps/TranslationUpdater.h"
#include "tests/engine/apps/OverlayFixture.h"

namespace orvel::testing {

class ScriptedModel {
  public:
    // Ids whose answers are rejected.
    std::set<std::string> rejected;
    std::size_t batchSize = 100;
    // All batches are delivered at once from their own threads.
    bool parallel = false;
    // The run fails once this many batches were delivered.
    std::optional<std::size_t> failAfter;
    bool termsFail = false;
    TranslationUpdater::TermMap newTerms{{"Quit", "Beenden"}};

    // What the pipeline was asked, in order: "apple", "software", "terms", "run".
    std::vector<std::string> calls;
    std::vector<std::string> sent;
    TranslationUpdater::TermMap termsAsked;
    TranslationUpdater::TermMap termsOfTheRun;
    std::size_t termLimit = 0;
    std::size_t termStrings = 0;

    TranslationUpdater::Pipeline pipeline() {
        TranslationUpdater::Pipeline p;
        p.appleReference = [this](const std::string&) {
            calls.push_back("apple");
            return std::optional<AppleReference>();
        };
        p.softwareReference = [this](const std::string&, const std::stop_token&) {
            calls.push_back("software");
            return std::optional<SoftwareReference>();
        };
        p.chooseTerms = [this](const TranslationJob& job, const std::vector<SourceString>& strings,
                               std::size_t limit, const std::stop_token&) {
            calls.push_back("terms");
            termsAsked = job.terms;
            termLimit = limit;
            termStrings = strings.size();
            if (termsFail)
                throw std::runtime_error("no terms");
            auto terms = job.terms;
            terms.insert(newTerms.begin(), newTerms.end());
            return terms;
        };
        p.run = [this](const TranslationJob& job, const std::vector<SourceString>& strings,
                       const TranslationUpdater::Translations&, const TranslationUpdater::Feedback&,
                       const TranslationUpdater::BatchCallback& onBatch, const std::stop_token&) {
            calls.push_back("run");
            termsOfTheRun = job.terms;
            for (const auto& s : strings)
                sent.push_back(s.id());
            return run(strings, onBatch);
        };
        return p;
    }

  private:
    struct Batch {
        TranslationUpdater::Translations translations;
        std::size_t size = 0;
    };

    TranslationUpdater::Failures run(const std::vector<SourceString>& strings,
                                     const TranslationUpdater::BatchCallback& onBatch) {
        TranslationUpdater::Failures failed;
        std::vector<Batch> batches;
        for (std::size_t i = 0; i < strings.size(); ++i) {
            if (i % batchSize == 0)
                batches.emplace_back();
            ++batches.back().size;
            const SourceString& s = strings[i];
            if (rejected.contains(s.id()))
                failed[s.id()] = "left in English";
            else
                batches.back().translations[s.id()] = textTranslation(s.text, "de:" + s.text);
        }
        const std::size_t delivered = failAfter ? std::min(*failAfter, batches.size()) : batches.size();
        const int total = static_cast<int>(strings.size());
        std::atomic<int> done = 0;
        const auto deliver = [&](const Batch& batch) {
            done += static_cast<int>(batch.size);
            onBatch(batch.translations, {done.load(), total, static_cast<int>(failed.size())});
        };
        if (parallel) {
            std::latch start(static_cast<std::ptrdiff_t>(delivered));
            std::vector<std::jthread> threads;
            for (std::size_t i = 0; i < delivered; ++i)
                threads.emplace_back([&, i] {
                    start.arrive_and_wait();
                    deliver(batches[i]);
                });
        } else {
            for (std::size_t i = 0; i < delivered; ++i)
                deliver(batches[i]);
        }
        if (failAfter)
            throw std::runtime_error("model down");
        return failed;
    }
};

class UpdaterTest : public OverlayTest {
  protected:
    // Replaces the app's catalogs (a table left out is gone) and its version.
    void updateApp(const std::map<std::string, std::string>& catalogs, const std::string& version) {
        std::filesystem::remove_all(scratch.path() / "Notes.app");
        const auto bundle = makeBundle(
            scratch, "Notes.app",
            {{"CFBundleIdentifier", "com.example.Notes"}, {"CFBundleShortVersionString", version}}, catalogs);
        app = *TranslatableApp::open(bundle, platform);
        strings = app.loadStrings({});
    }

    void resetProject() {
        project = TranslationProject{};
        project.app = app.bundleIdentifier;
        project.language = "de";
    }

    TranslationUpdater::Outcome update(const TranslationUpdater::ProjectCallback& onResult = {}) {
        return TranslationUpdater::updateProject(app, "de", ModelSettings{}, false, onResult, {},
                                                 model.pipeline());
    }

    std::filesystem::path projectFile() const { return TranslationProject::fileURL(app, "de"); }

    TranslationProject stored() const {
        return OrvelProtocol::decode<TranslationProject>(readBytes(projectFile()));
    }

    StringsFiles::SimpleTable published(const std::string& table) const {
        return StringsFiles::readStrings(overlay() / (table + ".strings"));
    }

    ScriptedModel model;
};

} // namespace orvel::testing
