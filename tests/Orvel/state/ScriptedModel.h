#pragma once
// A model that answers at once: every string becomes "<language>:<English>", strings the test names fail,
// a scripted error ends the run, and the run can be held after some batches until the test lets it go on
// (or stops it). It records what each run was given. Shared with the pipeline handed to a run's worker.

#include <condition_variable>
#include <exception>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "core/Cancellation.h"
#include "engine/apps/TranslationUpdater.h"

namespace orvel::testing {

class ScriptedModel {
  public:
    // What one run was given.
    struct Call {
        std::string language;
        std::vector<std::string> ids;
        TranslationJob::Translations existing;
        TranslationJob::Failures feedback;
        TranslationStyle style;
        std::map<std::string, std::string> terms;
        bool review = false;
        bool withReferences = false;
    };

    // Set before the run starts.
    std::set<std::string> failing;
    // Thrown after `errorAfter` batches were delivered.
    std::exception_ptr error;
    int errorAfter = 0;
    // What the key-term choice adds to the job's terms, or throws.
    std::map<std::string, std::string> chosenTerms;
    std::exception_ptr termError;

    // Runs wait after `batches` delivered batches until release() or a stop; a run held at an earlier
    // hold goes on to this one.
    void holdAfter(int batches) {
        {
            std::lock_guard lock(m_mutex);
            m_holdAfter = batches;
        }
        m_changed.notify_all();
    }
    void release() {
        {
            std::lock_guard lock(m_mutex);
            m_holdAfter = -1;
        }
        m_changed.notify_all();
    }
    // A run is waiting at the hold.
    bool held() const {
        std::lock_guard lock(m_mutex);
        return m_waiting > 0;
    }
    // Batches handed over by every run so far.
    int delivered() const {
        std::lock_guard lock(m_mutex);
        return m_delivered;
    }
    // Runs that have returned or thrown.
    int finished() const {
        std::lock_guard lock(m_mutex);
        return m_finished;
    }
    std::vector<Call> calls() const {
        std::lock_guard lock(m_mutex);
        return m_calls;
    }

    TranslationJob::Failures run(const TranslationJob& job, const std::vector<SourceString>& strings,
                                 const TranslationJob::Translations& existing,
                                 const TranslationJob::Failures& feedback,
                                 const TranslationJob::OnBatch& onBatch, const std::stop_token& stop) {
        record(job, strings, existing, feedback);
        struct Finish {
            ScriptedModel& model;
            ~Finish() {
                std::lock_guard lock(model.m_mutex);
                ++model.m_finished;
            }
        } finish{*this};
        TranslationJob::Progress progress{.done = 0, .total = static_cast<int>(strings.size()), .failed = 0};
        TranslationJob::Failures failures;
        const std::size_t size = static_cast<std::size_t>(std::max(1, job.settings.batchSize));
        int delivered = 0;
        for (std::size_t first = 0; first < strings.size(); first += size) {
            waitWhileHeld(delivered, stop);
            if (error && delivered == errorAfter)
                std::rethrow_exception(error);
            TranslationJob::Translations batch;
            for (std::size_t i = first; i < std::min(strings.size(), first + size); ++i) {
                const SourceString& string = strings[i];
                if (failing.contains(string.id())) {
                    failures[string.id()] = "rejected " + string.key;
                    ++progress.failed;
                } else {
                    StringTranslation translation;
                    translation.text = job.language + ":" + string.text;
                    translation.model = job.settings.model;
                    translation.source = string.text;
                    batch[string.id()] = translation;
                }
                ++progress.done;
            }
            onBatch(batch, progress);
            ++delivered;
            {
                std::lock_guard lock(m_mutex);
                ++m_delivered;
            }
        }
        waitWhileHeld(delivered, stop);
        if (error && delivered == errorAfter)
            std::rethrow_exception(error);
        return failures;
    }

    std::map<std::string, std::string> chooseTerms(const TranslationJob& job) const {
        if (termError)
            std::rethrow_exception(termError);
        std::map<std::string, std::string> terms = job.terms;
        for (const auto& [term, chosen] : chosenTerms)
            terms.insert_or_assign(term, chosen);
        return terms;
    }

    // The pipeline of the updater and the translate run, answered by `model`, without references.
    static TranslationUpdater::Pipeline pipeline(std::shared_ptr<ScriptedModel> model) {
        TranslationUpdater::Pipeline pipeline;
        pipeline.run = [model](const TranslationJob& job, const std::vector<SourceString>& strings,
                               const TranslationJob::Translations& existing,
                               const TranslationJob::Failures& feedback,
                               const TranslationJob::OnBatch& onBatch, const std::stop_token& stop) {
            return model->run(job, strings, existing, feedback, onBatch, stop);
        };
        pipeline.chooseTerms = [model](const TranslationJob& job, const std::vector<SourceString>&,
                                       std::size_t, const std::stop_token& stop) {
            throwIfCancelled(stop);
            return model->chooseTerms(job);
        };
        pipeline.appleReference = [](const std::string&) { return std::optional<AppleReference>(); };
        pipeline.softwareReference = [](const std::string&, const std::stop_token&) {
            return std::optional<SoftwareReference>();
        };
        return pipeline;
    }

  private:
    void record(const TranslationJob& job, const std::vector<SourceString>& strings,
                const TranslationJob::Translations& existing, const TranslationJob::Failures& feedback) {
        Call call{job.language, {},
                  existing,     feedback,
                  job.style,    job.terms,
                  job.review,   job.reference.has_value() || job.softwareReference.has_value()};
        for (const SourceString& string : strings)
            call.ids.push_back(string.id());
        std::lock_guard lock(m_mutex);
        m_calls.push_back(std::move(call));
    }

    void waitWhileHeld(int delivered, const std::stop_token& stop) {
        std::unique_lock lock(m_mutex);
        const auto free = [&] { return m_holdAfter < 0 || delivered < m_holdAfter; };
        if (!free()) {
            ++m_waiting;
            m_changed.wait(lock, stop, free);
            --m_waiting;
        }
        lock.unlock();
        throwIfCancelled(stop);
    }

    mutable std::mutex m_mutex;
    std::condition_variable_any m_changed;
    int m_holdAfter = -1;
    int m_waiting = 0;
    int m_finished = 0;
    int m_delivered = 0;
    std::vector<Call> m_calls;
};

} // namespace orvel::testing
