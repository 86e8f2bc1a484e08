#include "Orvel/views/ChecklistPresenter.h"

#include "Orvel/state/ModelPreferences.h"
#include "Orvel/state/Workspace.h"
#include "Orvel/views/CountFormat.h"
#include "Orvel/views/TextKeys.h"
#include "core/Languages.h"

namespace orvel {

namespace {

int remaining(const ChecklistFacts& facts) {
    return facts.translatable - facts.translated;
}

// The Translate card is never to come: current while strings remain or none was ever translated.
StepState translateState(const ChecklistFacts& facts) {
    if (remaining(facts) > 0)
        return StepState::Current;
    return facts.translated > 0 ? StepState::Done : StepState::Current;
}

StepState reviewState(const ChecklistFacts& facts, bool translateDone) {
    if (!translateDone)
        return StepState::ToCome;
    if (!facts.problemCount)
        return StepState::Done;
    return *facts.problemCount > 0 ? StepState::Current : StepState::Done;
}

QString languageName(const std::optional<std::string>& language) {
    return language ? QString::fromStdString(Languages::nativeName(*language)) : QString();
}

} // namespace

ChecklistFacts checklistFacts(const Workspace& workspace, const ModelPreferences& preferences) {
    return ChecklistFacts{
        .appName = workspace.app().name,
        .language = workspace.language(),
        .capturing = workspace.capturing(),
        .translating = workspace.translating(),
        .progress = workspace.progress(),
        .filter = workspace.filter(),
        .translatable = workspace.translatableCount(),
        .translated = workspace.translatedCount(),
        .seen = workspace.seenCount(),
        .notes = workspace.notesCount(),
        .problemCount = workspace.problemCount(),
        .live = workspace.isLive(),
        .provider = preferences.provider(),
        .model = preferences.model(),
    };
}

std::array<StepState, kChecklistSteps> checklistStates(const ChecklistFacts& facts) {
    const StepState translate = translateState(facts);
    const bool translateDone = translate == StepState::Done;
    const StepState live = facts.live      ? StepState::Done
                           : translateDone ? StepState::Current
                                           : StepState::ToCome;
    return {StepState::Done,
            facts.seen > 0 ? StepState::Done : StepState::ToCome,
            facts.notes > 0 ? StepState::Done : StepState::ToCome,
            translate,
            reviewState(facts, translateDone),
            live};
}

QString modelLabel(const std::string& provider, const std::string& model) {
    if (provider == "Custom")
        return model.empty() ? localized("Custom") : QString::fromStdString(model);
    return ModelPreferences::providerName(provider);
}

std::optional<WorkspaceFilter> showProblemsFilter(WorkspaceFilter current) {
    if (current == WorkspaceFilter::problems)
        return std::nullopt;
    return WorkspaceFilter::problems;
}

ChecklistPresentation presentChecklist(const ChecklistFacts& facts) {
    const QString app = QString::fromStdString(facts.appName);
    const QString language = languageName(facts.language);
    const std::array<StepState, kChecklistSteps> states = checklistStates(facts);
    const bool translateDone = states[static_cast<int>(ChecklistStep::translate)] == StepState::Done;

    ChecklistPresentation shown;
    shown.title = localizedFormat(
        "%@ in %@", {app, language},
        "Title of the checklist: an app name, then the name of the language it is being translated into");

    shown.cards[0] = {.title = localized("Model"),
                      .count = modelLabel(facts.provider, facts.model),
                      .explanation = localized("The AI model that writes the translation. ChatGPT through "
                                               "Apple Intelligence costs nothing.")};
    shown.cards[1] = {
        .title = localized("Context"),
        .optional = true,
        .count = localizedFormat("%@ of %lld strings seen", {formatCount(facts.seen), facts.translatable},
                                 "How many of the app's strings were seen on screen"),
        .explanation =
            localizedFormat("Read the open windows of %@ to learn where each string appears.", {app})};
    shown.cards[2] = {
        .title = localized("Glossary"),
        .optional = true,
        .count = localizedFormat("%lld notes", {facts.notes}, "How many glossary entries there are"),
        .explanation = localized("Names that stay as they are, and words that need one fixed translation.")};

    ChecklistCardContent translate{.title = localized("Translate"),
                                   .explanation = localized("Strings are sent to the model in small batches, "
                                                            "with their context and the glossary. A few "
                                                            "minutes for most apps.")};
    if (facts.progress) {
        translate.count = countOfTotal(facts.progress->done, facts.progress->total);
        translate.bar = progressBarValue(facts.progress->done, facts.progress->total);
    } else {
        translate.count =
            localizedFormat("%@ of %lld strings", {formatCount(facts.translated), facts.translatable},
                            "How many of the app's strings are translated");
    }
    shown.cards[3] = translate;

    ChecklistCardContent review{
        .title = localized("Review"),
        .explanation = localizedFormat("Fix or keep each phrasing that reads wrong in %@", {language})};
    if (translateDone && facts.problemCount)
        review.count = localizedFormat("%lld problems", {*facts.problemCount});
    shown.cards[4] = review;

    shown.liveLabel = localizedFormat("Live in %@", {app});
    shown.cards[5] = {.title = shown.liveLabel,
                      .explanation = localizedFormat("Show %@ in %@ right away", {language, app})};

    for (int step = 0; step < kChecklistSteps; ++step)
        shown.cards[step].state = states[step];

    shown.capturing = facts.capturing;
    if (facts.translating) {
        shown.translateAction = TranslateCardAction::stop;
        shown.translateActionText = localized("Stop");
    } else if (remaining(facts) > 0) {
        shown.translateAction = TranslateCardAction::translate;
        shown.translateActionText = localizedFormat("Translate %lld Strings", {remaining(facts)});
    }
    shown.showProblemsEnabled = translateDone && facts.problemCount && *facts.problemCount > 0;
    shown.liveOn = facts.live;
    shown.liveEnabled = facts.translated > 0;
    return shown;
}

} // namespace orvel
