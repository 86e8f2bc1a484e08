#pragma once
// What the steps footer shows, worked out from the workspace and the model preferences: which step is
// current, each step's badge and count, the main action of the moment and the model's short name. Pure
// functions of a snapshot, so that every rule can be checked without a widget.

#include <QString>

#include <cstddef>
#include <optional>
#include <string>

#include "Orvel/views/StepBadge.h"
#include "engine/pipeline/TranslationJob.h"

namespace orvel {

class ModelPreferences;
class Workspace;

// The readings of the workspace and the preferences that the footer depends on.
struct FooterFacts {
    bool hasLanguage = false;
    bool translating = false;
    bool checklistOpen = false;
    bool capturing = false;
    std::optional<TranslationJob::Progress> progress{};
    // Strings an app update added or reworded; 0 for a project never translated nor brought up to date.
    int pendingChanges = 0;
    int translatable = 0;
    int translated = 0;
    int seen = 0;
    // Absent while the problems are being computed.
    std::optional<int> problemCount{};
    std::string provider{};
    std::string model{};
    // The app's name, for the help text of "Capture Context".
    std::string appName{};
};

FooterFacts footerFacts(const Workspace& workspace, const ModelPreferences& preferences);

enum class CountTint { none, accent, orange };

// A determinate bar: never a total below 1, so it never divides by zero.
struct ProgressBarValue {
    int value = 0;
    int total = 1;
};
ProgressBarValue progressBarValue(int value, int total);

enum class FooterStep { translate = 0, review = 1, allDone = 2 };

enum class MainAction { none, translateChanges, translateStrings, fixProblems };

struct FooterPresentation {
    QString modelName{};
    // The row of the preset the picker checks; none when the provider is none of them.
    std::optional<std::size_t> checkedPreset{};
    // The three steps are inert and greyed without a language.
    bool stepsEnabled = false;
    FooterStep currentStep = FooterStep::allDone;

    StepState contextBadge = StepState::ToCome;
    // A spinner stands in for the count while a capture runs.
    bool contextBusy = false;
    QString contextCount{};
    bool captureEnabled = true;
    QString captureHelp{};

    StepState translateBadge = StepState::ToCome;
    QString translateCount{};
    CountTint translateTint = CountTint::none;
    std::optional<ProgressBarValue> translateBar{};

    StepState reviewBadge = StepState::ToCome;
    // A spinner stands in for the count while the problems are being computed. Without a language
    // there is nothing to count: neither shows.
    bool reviewBusy = false;
    bool reviewCounted = false;
    QString reviewCount{};
    CountTint reviewTint = CountTint::none;

    // During a run only Stop stands at the right; without a language nothing does.
    bool showStop = false;
    MainAction mainAction = MainAction::none;
    QString mainActionText{};
    bool showMore = false;
};

FooterPresentation presentFooter(const FooterFacts& facts);

FooterStep currentStep(const FooterFacts& facts);
MainAction mainAction(const FooterFacts& facts);
// The picker's short name of the chosen model.
QString modelShortName(const std::string& provider, const std::string& model);
// The row of ModelSettings::presets() whose name is exactly `provider`.
std::optional<std::size_t> checkedPresetRow(const std::string& provider);
// "%@ of %@" with both counts formatted.
QString countOfTotal(int count, int total);

} // namespace orvel
