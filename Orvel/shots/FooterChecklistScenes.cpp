// Scenes of the steps footer and the checklist, drawn from fixed readings of an app of 300 strings.
#include "Orvel/shots/ShotScene.h"

#include "Orvel/views/ChecklistPanel.h"
#include "Orvel/views/PillButton.h"
#include "Orvel/views/StepsFooterBar.h"

#include <QMenu>
#include <QVBoxLayout>

namespace orvel {

namespace {

constexpr int kFooterWidth = 960;

FooterFacts footerOf300() {
    return FooterFacts{.hasLanguage = true,
                       .translatable = 300,
                       .translated = 300,
                       .seen = 140,
                       .problemCount = 0,
                       .provider = "ChatGPT through Apple Intelligence"};
}

// The bar inside a page, as the strings screen holds it: a window would not let it be narrower than
// all of its parts.
std::unique_ptr<QWidget> footer(const FooterFacts& facts) {
    auto page = std::make_unique<QWidget>();
    auto* column = new QVBoxLayout(page.get());
    column->setContentsMargins(0, 0, 0, 0);
    auto* bar = new StepsFooterBar;
    bar->present(presentFooter(facts));
    column->addWidget(bar);
    return page;
}

std::unique_ptr<QWidget> buildNoLanguage() {
    FooterFacts facts = footerOf300();
    facts.hasLanguage = false;
    facts.translated = 0;
    facts.seen = 0;
    // What the workspace reads without a language: no problems counted.
    facts.problemCount = std::nullopt;
    return footer(facts);
}

std::unique_ptr<QWidget> buildTranslateStrings() {
    FooterFacts facts = footerOf300();
    facts.translated = 288;
    facts.provider = "OpenAI";
    return footer(facts);
}

// A run of a large app: counts of four and five digits.
FooterFacts runningFacts() {
    FooterFacts facts = footerOf300();
    facts.translating = true;
    facts.translatable = 20923;
    facts.translated = 3050;
    facts.seen = 1204;
    facts.progress = TranslationJob::Progress{.done = 3050, .total = 20923};
    facts.problemCount = std::nullopt;
    return facts;
}

std::unique_ptr<QWidget> buildRunning() {
    return footer(runningFacts());
}

std::unique_ptr<QWidget> buildNarrowTranslate() {
    FooterFacts facts = footerOf300();
    facts.translatable = 20923;
    facts.translated = 3050;
    facts.problemCount = 0;
    facts.provider = "Apple Intelligence, on this Mac";
    return footer(facts);
}

std::unique_ptr<QWidget> buildFixProblems() {
    FooterFacts facts = footerOf300();
    facts.problemCount = 3;
    facts.provider = "Custom";
    facts.model = "qwen3:14b";
    return footer(facts);
}

std::unique_ptr<QWidget> buildCapturing() {
    FooterFacts facts = footerOf300();
    facts.capturing = true;
    facts.translated = 288;
    return footer(facts);
}

// The model picker's menu, opened: the chosen preset alone carries a check mark.
std::unique_ptr<QWidget> buildModelMenu() {
    auto page = std::make_unique<QWidget>();
    auto* column = new QVBoxLayout(page.get());
    auto* bar = new StepsFooterBar(page.get());
    bar->hide();
    FooterFacts facts = footerOf300();
    facts.provider = "OpenAI";
    bar->present(presentFooter(facts));
    QMenu* menu = bar->findChild<PillButton*>("modelPicker")->menu();
    menu->setParent(page.get());
    menu->setWindowFlags(Qt::Widget);
    column->addWidget(menu, 0, Qt::AlignLeft | Qt::AlignTop);
    return page;
}

ChecklistFacts checklistOf300() {
    return ChecklistFacts{.appName = "Notes & Lists",
                          .language = "de",
                          .translatable = 300,
                          .problemCount = 0,
                          .provider = "ChatGPT through Apple Intelligence"};
}

std::unique_ptr<QWidget> checklist(const ChecklistFacts& facts) {
    auto panel = std::make_unique<ChecklistPanel>();
    panel->present(presentChecklist(facts));
    return panel;
}

std::unique_ptr<QWidget> buildFreshLanguage() {
    return checklist(checklistOf300());
}

std::unique_ptr<QWidget> buildAfterRun() {
    ChecklistFacts facts = checklistOf300();
    facts.seen = 9120;
    facts.translatable = 12480;
    facts.translated = 12480;
    facts.notes = 3;
    facts.problemCount = 4;
    return checklist(facts);
}

const ShotSceneRegistration noLanguageScene{
    "footer-no-language", {kFooterWidth, StepsFooterBar::kHeight}, &buildNoLanguage};
const ShotSceneRegistration translateScene{
    "footer-translate-strings", {kFooterWidth, StepsFooterBar::kHeight}, &buildTranslateStrings};
const ShotSceneRegistration runningScene{
    "footer-running", {kFooterWidth, StepsFooterBar::kHeight}, &buildRunning};
const ShotSceneRegistration narrowRunningScene{
    // Too narrow for everything: the counts and the names give way, the picker and Stop keep their size.
    "footer-narrow-running",
    {460, StepsFooterBar::kHeight},
    &buildRunning};
const ShotSceneRegistration narrowTranslateScene{
    "footer-narrow-translate-strings", {520, StepsFooterBar::kHeight}, &buildNarrowTranslate};
const ShotSceneRegistration modelMenuScene{"footer-model-menu", {320, 232}, &buildModelMenu};
const ShotSceneRegistration fixScene{
    "footer-fix-problems", {kFooterWidth, StepsFooterBar::kHeight}, &buildFixProblems};
const ShotSceneRegistration capturingScene{
    "footer-capturing", {kFooterWidth, StepsFooterBar::kHeight}, &buildCapturing};
const ShotSceneRegistration freshScene{"checklist-fresh-language", {760, 940}, &buildFreshLanguage};
const ShotSceneRegistration afterRunScene{"checklist-after-run", {760, 940}, &buildAfterRun};

} // namespace

} // namespace orvel
