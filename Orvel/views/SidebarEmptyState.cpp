#include "Orvel/views/SidebarEmptyState.h"

#include "Orvel/views/Palette.h"
#include "Orvel/views/PillFont.h"
#include "Orvel/views/PlainText.h"
#include "Orvel/views/SidebarRules.h"
#include "Orvel/views/SymbolView.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvel {

namespace {
constexpr int kSymbolPixels = 36;
constexpr int kTitlePixels = 15;
} // namespace

SidebarEmptyState::SidebarEmptyState(UrlOpener openUrl, QWidget* parent)
    : QWidget(parent), m_title(new QLabel(this)), m_helpLink(new QPushButton(this)) {
    setObjectName(QStringLiteral("noAppsState"));

    auto* symbol = new SymbolView(Symbol::CharacterBubble, Palette::secondary(), kSymbolPixels, this);

    m_title->setObjectName(QStringLiteral("noAppsTitle"));
    setPlainText(m_title, noAppsTitle());
    m_title->setFont(systemFont(kTitlePixels, QFont::Bold));
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setWordWrap(true);

    m_helpLink->setObjectName(QStringLiteral("appsHelpLink"));
    m_helpLink->setText(actionText(appsHelpTitle()));
    m_helpLink->setFlat(true);
    m_helpLink->setCursor(Qt::PointingHandCursor);
    QPalette linkPalette = m_helpLink->palette();
    linkPalette.setColor(QPalette::ButtonText, Palette::accent());
    m_helpLink->setPalette(linkPalette);
    connect(m_helpLink, &QPushButton::clicked, this,
            [openUrl = std::move(openUrl)] { openUrl(appsHelpAddress()); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(6);
    layout->addStretch();
    layout->addWidget(symbol, 0, Qt::AlignHCenter);
    layout->addSpacing(4);
    layout->addWidget(m_title);
    layout->addWidget(m_helpLink, 0, Qt::AlignHCenter);
    layout->addStretch();
}

} // namespace orvel
