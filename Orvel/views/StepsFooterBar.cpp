#include "Orvel/views/StepsFooterBar.h"

#include "Orvel/state/ModelPreferences.h"
#include "Orvel/views/CapsuleLabel.h"
#include "Orvel/views/FocusInTurn.h"
#include "Orvel/views/MiniSpinner.h"
#include "Orvel/views/Palette.h"
#include "Orvel/views/PillButton.h"
#include "Orvel/views/PillFont.h"
#include "Orvel/views/PlainText.h"
#include "Orvel/views/StepLabel.h"
#include "Orvel/views/Symbols.h"
#include "Orvel/views/TextKeys.h"
#include "engine/model/ModelSettings.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>

namespace orvel {

namespace {

constexpr int kSpacing = 10;
constexpr int kSideMargin = 12;
constexpr int kDividerHeight = 16;
constexpr int kBarWidth = 70;
constexpr int kMinimumGap = 8;

std::optional<QColor> tintColour(CountTint tint) {
    switch (tint) {
    case CountTint::none:
        return std::nullopt;
    case CountTint::accent:
        return Palette::accent();
    case CountTint::orange:
        return Palette::orange();
    }
    return std::nullopt;
}

QLabel* chevronSeparator() {
    auto* label = new QLabel;
    label->setPixmap(symbolPixmap(Symbol::ChevronRight, Palette::tertiary(), QSize(7, 10)));
    return label;
}

// The mark of the chosen row: a check mark alone, white on the highlight of the row under the pointer.
QIcon checkMark() {
    constexpr int pixels = 12;
    QIcon icon;
    icon.addPixmap(symbolPixmap(Symbol::Checkmark, Palette::primary(), QSize(pixels, pixels)), QIcon::Normal);
    const QPixmap highlighted = symbolPixmap(Symbol::Checkmark, Qt::white, QSize(pixels, pixels));
    icon.addPixmap(highlighted, QIcon::Active);
    icon.addPixmap(highlighted, QIcon::Selected);
    return icon;
}

QMenu* tooltipMenu(QWidget* parent) {
    auto* menu = new QMenu(parent);
    menu->setToolTipsVisible(true);
    return menu;
}

} // namespace

StepsFooterBar::StepsFooterBar(QWidget* parent)
    : QWidget(parent), m_modelPill(new PillButton), m_modelMenu(tooltipMenu(this)) {
    setObjectName(QStringLiteral("stepsFooter"));
    setFixedHeight(kHeight);
    setFont(systemFont(12));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(kSideMargin, 0, kSideMargin, 0);
    row->setSpacing(kSpacing);

    m_modelPill->setObjectName(QStringLiteral("modelPicker"));
    m_modelPill->setChevron(true);
    m_modelPill->setMenu(m_modelMenu);
    const std::vector<ModelSettings::Preset>& presets = ModelSettings::presets();
    for (std::size_t index = 0; index < presets.size(); ++index) {
        QAction* action =
            m_modelMenu->addAction(actionText(ModelPreferences::providerName(presets[index].name)));
        connect(action, &QAction::triggered, this, [this, index] { emit presetChosen(index); });
        m_presetActions.push_back(action);
    }
    m_modelMenu->addSeparator();
    QAction* settings = m_modelMenu->addAction(localized("Model Settings…"));
    settings->setObjectName(QStringLiteral("modelSettingsAction"));
    connect(settings, &QAction::triggered, this, &StepsFooterBar::settingsRequested);
    row->addWidget(m_modelPill, 0, Qt::AlignVCenter);

    auto* divider = new QFrame;
    divider->setFrameShape(QFrame::VLine);
    divider->setFixedHeight(kDividerHeight);
    divider->setForegroundRole(QPalette::Mid);
    row->addWidget(divider, 0, Qt::AlignVCenter);

    row->addWidget(buildSteps(), 0, Qt::AlignVCenter);
    row->addSpacing(kMinimumGap);
    row->addStretch(1);

    buildTrailing();
    row->addWidget(m_stop, 0, Qt::AlignVCenter);
    row->addWidget(m_mainAction, 0, Qt::AlignVCenter);
    row->addWidget(m_more, 0, Qt::AlignVCenter);
    present(FooterPresentation{});
}

QWidget* StepsFooterBar::buildSteps() {
    m_steps = new QWidget;
    m_steps->setObjectName(QStringLiteral("footerSteps"));
    auto* row = new QHBoxLayout(m_steps);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(kSpacing);

    m_contextStep = new StepLabel(1, localized("Context"));
    m_contextStep->setObjectName(QStringLiteral("contextStep"));
    m_contextCount = new CapsuleLabel({}, CapsuleLabel::countLook());
    m_contextSpinner = new MiniSpinner;
    m_contextStep->addTrailing(m_contextCount);
    m_contextStep->addTrailing(m_contextSpinner);
    QMenu* contextMenu = tooltipMenu(m_contextStep);
    m_captureAction = contextMenu->addAction(localized("Capture Context"));
    m_captureAction->setObjectName(QStringLiteral("captureContextAction"));
    connect(m_captureAction, &QAction::triggered, this, &StepsFooterBar::captureRequested);
    QAction* glossary = contextMenu->addAction(localized("Glossary and Notes…"));
    glossary->setObjectName(QStringLiteral("glossaryAction"));
    connect(glossary, &QAction::triggered, this, &StepsFooterBar::contextRequested);
    m_contextStep->setMenu(contextMenu);

    m_translateStep = new StepLabel(2, localized("Translate"));
    m_translateStep->setObjectName(QStringLiteral("translateStep"));
    // A label only: it neither takes clicks nor focus.
    m_translateStep->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_translateStep->setFocusPolicy(Qt::NoFocus);
    m_translateCount = new CapsuleLabel({}, CapsuleLabel::countLook());
    m_translateBar = new QProgressBar;
    m_translateBar->setObjectName(QStringLiteral("translateBar"));
    m_translateBar->setFixedWidth(kBarWidth);
    m_translateBar->setFixedHeight(6);
    m_translateBar->setTextVisible(false);
    m_translateStep->addTrailing(m_translateCount);
    m_translateStep->addTrailing(m_translateBar);

    m_reviewStep = new StepLabel(3, localized("Review"));
    m_reviewStep->setObjectName(QStringLiteral("reviewStep"));
    m_reviewCount = new CapsuleLabel({}, CapsuleLabel::countLook());
    m_reviewSpinner = new MiniSpinner;
    m_reviewStep->addTrailing(m_reviewCount);
    m_reviewStep->addTrailing(m_reviewSpinner);
    connect(m_reviewStep, &QPushButton::clicked, this, &StepsFooterBar::reviewRequested);

    m_separators = {chevronSeparator(), chevronSeparator()};
    for (QWidget* separator : m_separators)
        separator->setObjectName(QStringLiteral("stepSeparator"));
    row->addWidget(m_contextStep);
    row->addWidget(m_separators[0]);
    row->addWidget(m_translateStep);
    row->addWidget(m_separators[1]);
    row->addWidget(m_reviewStep);
    return m_steps;
}

void StepsFooterBar::buildTrailing() {
    m_stop = new PillButton(localized("Stop"));
    m_stop->setObjectName(QStringLiteral("stopButton"));
    connect(m_stop, &QPushButton::clicked, this, &StepsFooterBar::stopRequested);

    m_mainAction = new PillButton;
    m_mainAction->setObjectName(QStringLiteral("mainActionButton"));
    m_mainAction->setProminent(true);
    connect(m_mainAction, &QPushButton::clicked, this, [this] { emit mainActionRequested(m_shownAction); });

    m_more = new PillButton;
    m_more->setObjectName(QStringLiteral("moreButton"));
    m_more->setSymbol(Symbol::Ellipsis);
    m_more->setAccessibleName(localized("More"));
    QMenu* moreMenu = tooltipMenu(m_more);
    QAction* checklist = moreMenu->addAction(localized("Checklist"));
    checklist->setObjectName(QStringLiteral("checklistAction"));
    connect(checklist, &QAction::triggered, this, &StepsFooterBar::checklistRequested);
    QAction* again = moreMenu->addAction(localized("Translate Everything Again"));
    again->setObjectName(QStringLiteral("translateAgainAction"));
    again->setToolTip(localized("Edited translations stay as they are"));
    connect(again, &QAction::triggered, this, &StepsFooterBar::translateAllRequested);
    m_more->setMenu(moreMenu);
}

void StepsFooterBar::present(const FooterPresentation& shown) {
    m_modelPill->setLabel(shown.modelName);
    if (!m_fitted || shown.checkedPreset != m_shown.checkedPreset) {
        static const QIcon mark = checkMark();
        for (std::size_t row = 0; row < m_presetActions.size(); ++row)
            m_presetActions[row]->setIcon(shown.checkedPreset == row ? mark : QIcon());
    }

    m_steps->setEnabled(shown.stepsEnabled);
    m_contextStep->setState(shown.contextBadge, false);
    m_contextCount->setText(shown.contextCount);
    m_captureAction->setEnabled(shown.captureEnabled);
    m_captureAction->setToolTip(escapedToolTip(shown.captureHelp));

    m_translateStep->setState(shown.translateBadge, shown.currentStep == FooterStep::translate);
    m_translateCount->setText(shown.translateCount);
    m_translateCount->setLook(CapsuleLabel::countLook(tintColour(shown.translateTint)));
    if (shown.translateBar) {
        m_translateBar->setRange(0, shown.translateBar->total);
        m_translateBar->setValue(shown.translateBar->value);
    }

    m_reviewStep->setState(shown.reviewBadge, shown.currentStep == FooterStep::review);
    m_reviewCount->setText(shown.reviewCount);
    m_reviewCount->setLook(CapsuleLabel::countLook(tintColour(shown.reviewTint)));

    m_shownAction = shown.mainAction;
    m_mainAction->setLabel(shown.mainActionText);
    // The focus stays on the main action as it turns into "Stop" and back.
    showInTurn({{m_mainAction, shown.mainAction != MainAction::none},
                {m_stop, shown.showStop},
                {m_more, shown.showMore}},
               this);
    m_shown = shown;
    if (m_fitted != shape())
        fit();
}

StepsFooterBar::Shape StepsFooterBar::shape() const {
    return Shape{.widths = {m_modelPill->sizeHint().width(), m_contextCount->sizeHint().width(),
                            m_translateCount->sizeHint().width(), m_reviewCount->sizeHint().width(),
                            m_mainAction->sizeHint().width()},
                 .currentStep = m_shown.currentStep,
                 .contextBusy = m_shown.contextBusy,
                 .reviewBusy = m_shown.reviewBusy,
                 .reviewCounted = m_shown.reviewCounted,
                 .translateBar = m_shown.translateBar.has_value(),
                 .stop = m_shown.showStop,
                 .mainAction = m_shown.mainAction != MainAction::none,
                 .more = m_shown.showMore};
}

void StepsFooterBar::showParts(int givenWay) {
    m_contextCount->setVisible(!m_shown.contextBusy && givenWay < 1);
    m_contextSpinner->setVisible(m_shown.contextBusy && givenWay < 1);
    m_reviewCount->setVisible(m_shown.reviewCounted && givenWay < 2);
    m_reviewSpinner->setVisible(m_shown.reviewBusy && givenWay < 2);
    m_translateBar->setVisible(m_shown.translateBar.has_value() && givenWay < 3);
    m_translateCount->setVisible(givenWay < 4);
    for (QWidget* separator : m_separators)
        separator->setVisible(givenWay < 5);
    showModelName(givenWay < 6 ? std::nullopt : std::optional<int>(kModelNameFloor));
    for (StepLabel* step : {m_contextStep, m_translateStep, m_reviewStep})
        step->setNameWidth(givenWay < 7 ? std::nullopt : std::optional<int>(0));
    m_givenWay = givenWay;
}

void StepsFooterBar::showModelName(std::optional<int> limit) {
    const QString name = m_modelPill->label();
    if (limit && *limit >= textWidth(pillFont(), name))
        limit.reset();
    m_modelPill->setTextLimit(limit);
    m_modelPill->setToolTip(limit ? escapedToolTip(name) : QString());
}

int StepsFooterBar::rowWidth() {
    // Every level of the row caches what it measured last.
    m_steps->layout()->invalidate();
    m_steps->updateGeometry();
    layout()->invalidate();
    return layout()->sizeHint().width();
}

void StepsFooterBar::fit() {
    showParts(kParts);
    const int minimum = rowWidth();
    showParts(0);
    const int full = rowWidth();
    int givenWay = 0;
    while (givenWay < kParts && rowWidth() > width())
        showParts(++givenWay);
    if (givenWay == kModelNameLevel) {
        // The name gives back what the row does not need.
        const int spare = width() - rowWidth();
        showModelName(textWidth(pillFont(), m_modelPill->shownLabel()) + spare);
    }
    if (givenWay == kParts) {
        // The names share what is left, each after the spacing that comes with it.
        const int spare = width() - rowWidth();
        const int steps = 3;
        const int share = spare / steps - StepLabel::kSpacing;
        for (StepLabel* step : {m_contextStep, m_translateStep, m_reviewStep})
            step->setNameWidth(share);
    }
    m_fitted = shape();
    if (minimum != m_minimumWidth || full != m_fullWidth) {
        m_minimumWidth = minimum;
        m_fullWidth = full;
        updateGeometry();
    }
}

QSize StepsFooterBar::sizeHint() const {
    return {m_fullWidth, kHeight};
}

QSize StepsFooterBar::minimumSizeHint() const {
    return {m_minimumWidth, kHeight};
}

void StepsFooterBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fit();
}

void StepsFooterBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window).darker(104));
}

} // namespace orvel
