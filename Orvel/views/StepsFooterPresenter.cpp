#include "Orvel/views/StepsFooterPresenter.h"

#include "Orvel/state/ModelPreferences.h"
#include "Orvel/state/Workspace.h"
#include "Orvel/views/CountFormat.h"
#include "Orvel/views/TextKeys.h"
#include "engine/model/ModelSettings.h"

#include <algorithm>

namespace orvel {

namespace {

constexpr const char* kCountOfTotalComment = "A count of strings out of a total, like 120 of 300";

// A project that was never translated nor brought up to date has nothing an update could have changed.
int pendingChanges(const Workspace& workspace) {
    const std::optional<TranslationProject>& project = workspace.project();
    if (!project || (!project->sourceText && project->translations.empty()))
        return 0;
    const StringChanges& changes = workspace.changes();
    // Counted, not copied: the footer reads this on every merged batch of a run.
    return static_cast<int>(changes.added.size() + changes.changed.size());
}

int remaining(const FooterFacts& facts) {
    return facts.translatable - facts.translated;
}

} // namespace

FooterFacts footerFacts(const Workspace& workspace, const ModelPreferences& preferences) {
    return FooterFacts{
        .hasLanguage = workspace.language().has_value(),
        .translating = workspace.translating(),
        .checklistOpen = workspace.checklistOpen(),
        .capturing = workspace.capturing(),
        .progress = workspace.progress(),
        .pendingChanges = pendingChanges(workspace),
        .translatable = workspace.translatableCount(),
        .translated = workspace.translatedCount(),
        .seen = workspace.seenCount(),
        .problemCount = workspace.problemCount(),
        .provider = preferences.provider(),
        .model = preferences.model(),
        .appName = workspace.app().name,
    };
}

ProgressBarValue progressBarValue(int value, int total) {
    return ProgressBarValue{.value = std::clamp(value, 0, std::max(total, 1)), .total = std::max(total, 1)};
}

QString countOfTotal(int count, int total) {
    return localizedFormat("%@ of %@", {formatCount(count), formatCount(total)}, kCountOfTotalComment);
}

FooterStep currentStep(const FooterFacts& facts) {
    if (facts.translating || facts.pendingChanges > 0 || remaining(facts) > 0)
        return FooterStep::translate;
    if (facts.problemCount && *facts.problemCount > 0)
        return FooterStep::review;
    return FooterStep::allDone;
}

MainAction mainAction(const FooterFacts& facts) {
    if (facts.translating || !facts.hasLanguage || facts.checklistOpen)
        return MainAction::none;
    if (facts.pendingChanges > 0)
        return MainAction::translateChanges;
    if (remaining(facts) > 0)
        return MainAction::translateStrings;
    if (facts.problemCount && *facts.problemCount > 0)
        return MainAction::fixProblems;
    return MainAction::none;
}

QString modelShortName(const std::string& provider, const std::string& model) {
    if (provider == "Custom")
        return model.empty() ? localized("Custom") : QString::fromStdString(model);
    const auto startsWith = [&](std::string_view prefix) { return provider.starts_with(prefix); };
    if (startsWith("ChatGPT"))
        return QStringLiteral("ChatGPT");
    if (startsWith("Apple Intelligence"))
        return QStringLiteral("Apple Intelligence");
    if (provider == "Google Gemini")
        return QStringLiteral("Gemini");
    return QString::fromStdString(provider);
}

std::optional<std::size_t> checkedPresetRow(const std::string& provider) {
    const std::vector<ModelSettings::Preset>& presets = ModelSettings::presets();
    for (std::size_t row = 0; row < presets.size(); ++row)
        if (presets[row].name == provider)
            return row;
    return std::nullopt;
}

FooterPresentation presentFooter(const FooterFacts& facts) {
    FooterPresentation shown;
    shown.modelName = modelShortName(facts.provider, facts.model);
    shown.checkedPreset = checkedPresetRow(facts.provider);
    shown.stepsEnabled = facts.hasLanguage;
    shown.currentStep = currentStep(facts);

    shown.contextBadge = facts.seen > 0 ? StepState::Done : StepState::ToCome;
    shown.contextBusy = facts.capturing;
    shown.contextCount = countOfTotal(facts.seen, facts.translatable);
    shown.captureEnabled = !facts.capturing;
    shown.captureHelp = localizedFormat("Read the open windows of %@ to learn where each string appears",
                                        {QString::fromStdString(facts.appName)});

    const bool translateCurrent = shown.currentStep == FooterStep::translate;
    const bool translateDone = remaining(facts) <= 0 && facts.pendingChanges == 0 && !facts.translating;
    shown.translateBadge = translateDone      ? StepState::Done
                           : translateCurrent ? StepState::Current
                                              : StepState::ToCome;
    if (facts.progress) {
        shown.translateCount = countOfTotal(facts.progress->done, facts.progress->total);
        shown.translateTint = CountTint::accent;
        shown.translateBar = progressBarValue(facts.progress->done, facts.progress->total);
    } else {
        shown.translateCount = countOfTotal(facts.translated, facts.translatable);
        if (translateCurrent) {
            shown.translateTint = CountTint::accent;
            shown.translateBar = progressBarValue(facts.translated, facts.translatable);
        }
    }

    shown.reviewBadge = shown.currentStep == FooterStep::allDone  ? StepState::Done
                        : shown.currentStep == FooterStep::review ? StepState::Current
                                                                  : StepState::ToCome;
    shown.reviewBusy = facts.hasLanguage && !facts.problemCount;
    shown.reviewCounted = facts.problemCount.has_value();
    if (facts.problemCount) {
        shown.reviewCount = formatCount(*facts.problemCount);
        shown.reviewTint = *facts.problemCount > 0 ? CountTint::orange : CountTint::none;
    }

    shown.showStop = facts.translating;
    shown.showMore = !facts.translating && facts.hasLanguage;
    shown.mainAction = mainAction(facts);
    switch (shown.mainAction) {
    case MainAction::none:
        break;
    case MainAction::translateChanges:
        shown.mainActionText = localized("Translate Changes");
        break;
    case MainAction::translateStrings:
        shown.mainActionText = localizedFormat("Translate %lld Strings", {std::max(remaining(facts), 0)});
        break;
    case MainAction::fixProblems:
        shown.mainActionText = localizedFormat("Fix %lld Problems", {*facts.problemCount});
        break;
    }
    return shown;
}

} // namespace orvel
