// Scenes of the shared view pieces: pills, the Live pill, capsules, badges, spinners and symbols.
#include "Orvel/shots/ShotScene.h"

#include "Orvel/views/CapsuleLabel.h"
#include "Orvel/views/CountFormat.h"
#include "Orvel/views/FlexibleToolbarSpacer.h"
#include "Orvel/views/LivePill.h"
#include "Orvel/views/MiniSpinner.h"
#include "Orvel/views/Palette.h"
#include "Orvel/views/PillButton.h"
#include "Orvel/views/PlainText.h"
#include "Orvel/views/StepBadge.h"
#include "Orvel/views/SymbolView.h"
#include "Orvel/views/TextKeys.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvel {

namespace {

QLabel* caption(const QString& text) {
    auto* label = new QLabel;
    setPlainText(label, text);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Palette::secondary());
    label->setPalette(palette);
    label->setMinimumWidth(90);
    return label;
}

// A captioned row of widgets, left-aligned.
QHBoxLayout* row(QVBoxLayout* column, const QString& title, std::initializer_list<QWidget*> widgets) {
    auto* line = new QHBoxLayout;
    line->setSpacing(10);
    line->addWidget(caption(title));
    for (QWidget* widget : widgets)
        line->addWidget(widget);
    line->addStretch();
    column->addLayout(line);
    return line;
}

PillButton* pill(const char* name, const QString& label, bool prominent = false) {
    auto* button = new PillButton(label);
    button->setObjectName(QString::fromLatin1(name));
    button->setProminent(prominent);
    return button;
}

PillButton* menuPill(const char* name, const QString& label) {
    PillButton* button = pill(name, label);
    button->setChevron(true);
    return button;
}

PillButton* morePill() {
    PillButton* button = pill("morePill", {});
    button->setSymbol(Symbol::Ellipsis);
    button->setAccessibleName(localized("More"));
    return button;
}

PillButton* disabled(PillButton* button) {
    button->setEnabled(false);
    return button;
}

LivePill* livePill(const char* name, bool on, bool enabled = true) {
    auto* pill = new LivePill(localizedFormat("Live in %@", {QStringLiteral("Notes")}));
    pill->setObjectName(QString::fromLatin1(name));
    pill->setOn(on);
    pill->setEnabled(enabled);
    return pill;
}

std::unique_ptr<QWidget> sceneFrame(QVBoxLayout*& column) {
    auto widget = std::make_unique<QWidget>();
    column = new QVBoxLayout(widget.get());
    column->setContentsMargins(16, 16, 16, 16);
    column->setSpacing(12);
    return widget;
}

std::unique_ptr<QWidget> buildPills() {
    QVBoxLayout* column = nullptr;
    auto widget = sceneFrame(column);
    row(column, QStringLiteral("Plain"),
        {pill("stopPill", localized("Stop")), menuPill("languagePill", QStringLiteral("Deutsch")),
         menuPill("modelPill", QStringLiteral("gpt-4.1-mini-2025-04-14")), morePill()});
    row(column, QStringLiteral("Prominent"),
        {pill("translatePill", localizedFormat("Translate %lld Strings", {12345}), true),
         pill("changesPill", localized("Translate Changes"), true),
         pill("fixPill", localizedFormat("Fix %lld Problems", {3}), true)});
    row(column, QStringLiteral("Disabled"),
        {disabled(pill("disabledPlainPill", localized("Stop"))),
         disabled(pill("disabledProminentPill", localized("Translate Changes"), true)),
         disabled(menuPill("disabledMenuPill", localized("New Language…")))});
    row(column, QStringLiteral("Data text"),
        {menuPill("dataPill", QStringLiteral("<b>A&B</b>")),
         pill("dataProminentPill", QStringLiteral("<b>A&B</b>"), true)});
    row(column, QStringLiteral("Live"),
        {livePill("liveOffPill", false), livePill("liveOnPill", true),
         livePill("liveDisabledPill", false, false)});

    auto* toolBar = new QToolBar;
    toolBar->setObjectName(QStringLiteral("galleryToolBar"));
    toolBar->setMovable(false);
    // The leading group of the strings screen's toolbar: the app's name, the language menu, Live.
    auto* group = new QWidget;
    auto* groupLayout = new QHBoxLayout(group);
    groupLayout->setContentsMargins(4, 0, 0, 0);
    groupLayout->setSpacing(8);
    auto* name = new QLabel;
    setPlainText(name, QStringLiteral("Notes"));
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    groupLayout->addWidget(name);
    groupLayout->addWidget(menuPill("toolbarLanguagePill", QStringLiteral("Français")));
    groupLayout->addWidget(livePill("toolbarLivePill", true));
    toolBar->addWidget(group);
    addFlexibleToolbarSpacer(toolBar);
    auto* inspector = new QToolButton;
    inspector->setObjectName(QStringLiteral("inspectorButton"));
    inspector->setText(localized("Inspector"));
    inspector->setIcon(symbolIcon(Symbol::SidebarTrailing, Palette::secondary(), 16));
    inspector->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolBar->addWidget(inspector);
    column->addWidget(caption(QStringLiteral("Toolbar with a flexible spacer")));
    column->addWidget(toolBar);
    column->addStretch();
    return widget;
}

std::unique_ptr<QWidget> buildBadges() {
    QVBoxLayout* column = nullptr;
    auto widget = sceneFrame(column);
    const char* ofKey = "%@ of %@";
    const char* ofComment = "A count of strings out of a total, like 120 of 300";
    row(column, QStringLiteral("Counts"),
        {new CapsuleLabel(localizedFormat(ofKey, {formatCount(120), formatCount(300)}, ofComment),
                          CapsuleLabel::countLook()),
         new CapsuleLabel(localizedFormat(ofKey, {formatCount(12345), formatCount(678901)}, ofComment),
                          CapsuleLabel::countLook(Palette::accent())),
         new CapsuleLabel(formatCount(3), CapsuleLabel::countLook(Palette::orange())),
         new CapsuleLabel(formatCount(0), CapsuleLabel::countLook())});
    row(column, QStringLiteral("Status"),
        {new CapsuleLabel(localized("Available"), CapsuleLabel::statusLook(Palette::green())),
         new CapsuleLabel(localized("Connected"), CapsuleLabel::statusLook(Palette::green())),
         new CapsuleLabel(QStringLiteral("Needs a newer system"),
                          CapsuleLabel::statusLook(Palette::orange())),
         new CapsuleLabel(localized("Optional"), CapsuleLabel::outlineLook())});
    row(column, QStringLiteral("Footer steps"),
        {new StepBadge(1, StepState::Done, StepBadge::Size::Small),
         new StepBadge(2, StepState::Current, StepBadge::Size::Small),
         new StepBadge(3, StepState::ToCome, StepBadge::Size::Small)});
    row(column, QStringLiteral("Checklist steps"),
        {new StepBadge(1, StepState::Done, StepBadge::Size::Large),
         new StepBadge(4, StepState::Current, StepBadge::Size::Large),
         new StepBadge(5, StepState::ToCome, StepBadge::Size::Large)});
    row(column, QStringLiteral("Spinners"), {new MiniSpinner(12), new MiniSpinner(16)});
    column->addStretch();
    return widget;
}

std::unique_ptr<QWidget> buildSymbols() {
    auto widget = std::make_unique<QWidget>();
    auto* grid = new QGridLayout(widget.get());
    grid->setContentsMargins(16, 16, 16, 16);
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(6);
    int line = 0;
    for (Symbol symbol : allSymbols()) {
        grid->addWidget(caption(symbolName(symbol)), line, 0);
        int at = 1;
        for (int pixels : {8, 11, 14, 16, 24})
            grid->addWidget(new SymbolView(symbol, Palette::secondary(), pixels), line, at++,
                            Qt::AlignCenter);
        for (const QColor& colour : {Palette::accent(), Palette::orange(), Palette::primary()})
            grid->addWidget(new SymbolView(symbol, colour, 24), line, at++, Qt::AlignCenter);
        ++line;
    }
    grid->setRowStretch(line, 1);
    grid->setColumnStretch(9, 1);
    return widget;
}

const ShotSceneRegistration pillsScene{"gallery-pills", {720, 330}, &buildPills};
const ShotSceneRegistration badgesScene{"gallery-badges", {600, 260}, &buildBadges};
const ShotSceneRegistration symbolsScene{"gallery-symbols", {560, 470}, &buildSymbols};

} // namespace

} // namespace orvel
