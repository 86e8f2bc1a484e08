#include "Orvel/views/ProblemCallout.h"

#include "Orvel/views/Palette.h"
#include "Orvel/views/PlainText.h"
#include "Orvel/views/SymbolView.h"
#include "Orvel/views/TextKeys.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvel {

QString quotedMatch(const QString& match) {
    return QStringLiteral("\u00AB") + match + QStringLiteral("\u00BB");
}

ProblemCallout::ProblemCallout(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("problemCallout"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);

    auto* titleRow = new QHBoxLayout;
    titleRow->setSpacing(6);
    titleRow->addWidget(new SymbolView(Symbol::ExclamationmarkTriangleFill, Palette::orange(), 14, this));
    auto* title = new QLabel(localized("Possible problem"), this);
    QFont headline = title->font();
    headline.setBold(true);
    title->setFont(headline);
    titleRow->addWidget(title);
    titleRow->addStretch();
    column->addLayout(titleRow);

    m_match = new QLabel(this);
    m_match->setObjectName(QStringLiteral("problemMatch"));
    QFont semibold = m_match->font();
    semibold.setWeight(QFont::DemiBold);
    m_match->setFont(semibold);
    m_match->setWordWrap(true);
    m_match->setStyleSheet(QStringLiteral("QLabel { background: %1; border-radius: 5px; padding: 2px 6px; }")
                               .arg(Palette::withOpacity(Palette::orange(), 0.18).name(QColor::HexArgb)));
    m_match->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    column->addWidget(m_match, 0, Qt::AlignLeft);

    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("problemText"));
    m_problem->setWordWrap(true);
    Palette::setTextColour(m_problem, Palette::secondary());
    column->addWidget(m_problem);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    auto* fix = new QPushButton(localized("Fix"), this);
    fix->setObjectName(QStringLiteral("problemFix"));
    fix->setToolTip(localized("Retranslate with this note"));
    fix->setAutoDefault(false);
    auto* keep = new QPushButton(localized("Keep"), this);
    keep->setObjectName(QStringLiteral("problemKeep"));
    keep->setToolTip(localized("Keep this translation as it is"));
    keep->setAutoDefault(false);
    buttons->addWidget(fix);
    buttons->addWidget(keep);
    buttons->addStretch();
    column->addLayout(buttons);

    connect(fix, &QPushButton::clicked, this, &ProblemCallout::fixRequested);
    connect(keep, &QPushButton::clicked, this, &ProblemCallout::keepRequested);
    showProblem({}, std::nullopt);
}

void ProblemCallout::showProblem(const QString& problem, const std::optional<QString>& match) {
    setPlainText(m_problem, problem);
    setPlainText(m_match, match ? quotedMatch(*match) : QString());
    m_match->setVisible(match.has_value());
}

} // namespace orvel
