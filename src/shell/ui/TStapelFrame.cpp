#include "shell/ui/TStapelFrame.h"

#include <QLabel>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

TStapelFrame::TStapelFrame(QWidget* journalPage, QWidget* parent)
    : QWidget(parent), m_journal(journalPage)
{
    setObjectName(QStringLiteral("HauptPanelStapel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_tabs = new QTabBar(this);
    m_tabs->setObjectName(QStringLiteral("StapelTabs"));
    for (const char* caption :
         {"  Rechnungen  ", "  Mahnungen  ", "  Einnahmen  ", "  Ausgaben   "})
        m_tabs->addTab(QString::fromUtf8(caption));
    m_stack = new QStackedWidget(this);
    const char* const names[] = {"RechnungenPage", "MahnungenPage"};
    for (int tab = 0; tab < 2; ++tab) {
        m_pages[tab] = new QLabel(QStringLiteral("(noch nicht verfügbar)"), m_stack);
        m_pages[tab]->setObjectName(QString::fromLatin1(names[tab]));
        static_cast<QLabel*>(m_pages[tab])->setAlignment(Qt::AlignCenter);
        m_stack->addWidget(m_pages[tab]);
    }
    m_journal->setParent(m_stack);
    m_stack->addWidget(m_journal);
    layout->addWidget(m_tabs);
    layout->addWidget(m_stack, 1);
    connect(m_tabs, &QTabBar::currentChanged, this, [this](int tab) {
        if (tab == m_shown || tab < 0)
            return;
        if (MayShowTab && !MayShowTab(tab)) {
            const QSignalBlocker block(m_tabs);
            m_tabs->setCurrentIndex(m_shown);
            return;
        }
        ShowTab(tab);
    });
}

void TStapelFrame::SetPage(int tab, QWidget* page)
{
    if (tab < 0 || tab > 1 || !page)
        return;
    const int index = m_stack->indexOf(m_pages[tab]);
    m_stack->removeWidget(m_pages[tab]);
    delete m_pages[tab];
    m_pages[tab] = page;
    m_ownPage[tab] = true;
    m_stack->insertWidget(index, page);
}

QWidget* TStapelFrame::Page(int tab) const
{
    return tab < 2 ? m_pages[std::max(0, tab)] : m_journal;
}

int TStapelFrame::FirstTab() const
{
    return m_ownPage[0] ? kRechnungen : kEinnahmen;
}

int TStapelFrame::CurrentTab() const
{
    return m_shown;
}

void TStapelFrame::ShowTab(int tab)
{
    m_shown = tab;
    {
        const QSignalBlocker block(m_tabs);
        m_tabs->setCurrentIndex(tab);
    }
    m_stack->setCurrentWidget(Page(tab));
    emit tabShown(tab);
}
