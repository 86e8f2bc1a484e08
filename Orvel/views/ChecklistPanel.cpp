#include "Orvel/views/ChecklistPanel.h"

#include "Orvel/views/ChecklistCard.h"
#include "Orvel/views/FocusInTurn.h"
#include "Orvel/views/LivePill.h"
#include "Orvel/views/MiniSpinner.h"
#include "Orvel/views/Palette.h"
#include "Orvel/views/PlainText.h"
#include "Orvel/views/Symbols.h"
#include "Orvel/views/TextKeys.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvel {

namespace {

constexpr int kMargin = 32;
constexpr int kRowSpacing = 10;
constexpr int kIconSize = 36;
constexpr int kTitlePixels = 17;
constexpr int kSpinnerSize = 16;

// The one prominent button of the checklist: white text on the accent colour.
constexpr const char* kProminentStyle =
    "QPushButton { background: #2a6fdb; color: white; border: none; border-radius: 5px; padding: 4px 12px; }"
    "QPushButton:pressed { background: #245fbd; }";

} // namespace

ChecklistPanel::ChecklistPanel(QWidget* parent)
    : QScrollArea(parent), m_icon(new QLabel), m_title(new QLabel) {
    setObjectName(QStringLiteral("checklist"));
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    auto* page = new QWidget;
    auto* centring = new QHBoxLayout(page);
    centring->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    auto* columnWidget = new QWidget;
    columnWidget->setMaximumWidth(kColumnWidth);
    auto* column = new QVBoxLayout(columnWidget);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(kRowSpacing);
    centring->addStretch(0);
    centring->addWidget(columnWidget, 1);
    centring->addStretch(0);

    auto* header = new QHBoxLayout;
    header->setSpacing(12);
    header->setContentsMargins(0, 0, 0, 8);
    m_icon->setFixedSize(kIconSize, kIconSize);
    m_icon->setScaledContents(true);
    setAppIcon(symbolPixmap(Symbol::GenericApp, Palette::secondary(), QSize(kIconSize, kIconSize),
                            devicePixelRatioF()));
    QFont titleFont = m_title->font();
    titleFont.setPixelSize(kTitlePixels);
    titleFont.setWeight(QFont::Bold);
    m_title->setFont(titleFont);
    m_title->setObjectName(QStringLiteral("checklistTitle"));
    header->addWidget(m_icon);
    header->addWidget(m_title, 1);
    column->addLayout(header);

    for (int step = 0; step < kChecklistSteps; ++step) {
        m_cards[step] = new ChecklistCard(step + 1);
        column->addWidget(m_cards[step]);
    }

    QPushButton* change = actionButton("changeModelButton", localized("Change…"));
    connect(change, &QPushButton::clicked, this, &ChecklistPanel::settingsRequested);
    m_cards[0]->setAction(change);

    m_capture = actionButton("captureContextButton", localized("Capture Context"));
    // The spinner takes the text's place, in a button of the same size.
    m_capture->setMinimumWidth(m_capture->sizeHint().width());
    m_captureSpinner = new MiniSpinner(kSpinnerSize, m_capture);
    auto* captureLayout = new QHBoxLayout(m_capture);
    captureLayout->setContentsMargins(0, 0, 0, 0);
    captureLayout->addWidget(m_captureSpinner, 0, Qt::AlignCenter);
    connect(m_capture, &QPushButton::clicked, this, &ChecklistPanel::captureRequested);
    m_cards[1]->setAction(m_capture);

    QPushButton* glossary = actionButton("editGlossaryButton", localized("Edit Glossary"));
    connect(glossary, &QPushButton::clicked, this, &ChecklistPanel::contextRequested);
    m_cards[2]->setAction(glossary);

    auto* translateActions = new QWidget;
    auto* translateRow = new QHBoxLayout(translateActions);
    translateRow->setContentsMargins(0, 0, 0, 0);
    m_stop = actionButton("checklistStopButton", localized("Stop"));
    m_translate = actionButton("checklistTranslateButton", {});
    m_translate->setStyleSheet(QString::fromLatin1(kProminentStyle));
    translateRow->addWidget(m_stop);
    translateRow->addWidget(m_translate);
    connect(m_stop, &QPushButton::clicked, this, &ChecklistPanel::stopRequested);
    connect(m_translate, &QPushButton::clicked, this, &ChecklistPanel::translateRequested);
    m_cards[3]->setAction(translateActions);

    m_showProblems = actionButton("showProblemsButton", localized("Show Problems"));
    connect(m_showProblems, &QPushButton::clicked, this, &ChecklistPanel::showProblemsRequested);
    m_cards[4]->setAction(m_showProblems);

    m_live = new LivePill;
    m_live->setObjectName(QStringLiteral("checklistLivePill"));
    connect(m_live, &LivePill::toggleRequested, this, &ChecklistPanel::liveRequested);
    m_cards[5]->setAction(m_live);

    auto* footer = new QHBoxLayout;
    footer->setContentsMargins(0, 6, 0, 0);
    footer->addStretch(1);
    QPushButton* showStrings = actionButton("showStringsButton", localized("Show Strings"));
    connect(showStrings, &QPushButton::clicked, this, &ChecklistPanel::showStringsRequested);
    footer->addWidget(showStrings);
    column->addLayout(footer);
    column->addStretch(1);

    setWidget(page);
    present(ChecklistPresentation{});
}

QPushButton* ChecklistPanel::actionButton(const char* objectName, const QString& text) {
    auto* button = new QPushButton(actionText(text));
    button->setObjectName(QString::fromLatin1(objectName));
    button->setAutoDefault(false);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return button;
}

void ChecklistPanel::setAppIcon(const QPixmap& icon) {
    m_icon->setPixmap(icon);
}

void ChecklistPanel::present(const ChecklistPresentation& shown) {
    setPlainText(m_title, shown.title);
    for (int step = 0; step < kChecklistSteps; ++step)
        m_cards[step]->present(shown.cards[step]);

    m_capture->setText(shown.capturing ? QString() : localized("Capture Context"));
    m_captureSpinner->setVisible(shown.capturing);
    enableInTurn(m_capture, !shown.capturing, this);

    showInTurn({{m_translate, shown.translateAction == TranslateCardAction::translate},
                {m_stop, shown.translateAction == TranslateCardAction::stop}},
               this);
    m_translate->setText(actionText(shown.translateActionText));

    m_showProblems->setEnabled(shown.showProblemsEnabled);

    m_live->setLabel(shown.liveLabel);
    m_live->setOn(shown.liveOn);
    m_live->setEnabled(shown.liveEnabled);
}

} // namespace orvel
