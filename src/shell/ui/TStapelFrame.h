#pragma once

#include <QWidget>
#include <functional>

class QStackedWidget;
class QTabBar;

// The frame of the workspace "Stapeldruck u. E/A": four tabs over one page area. The
// invoice and reminder tabs show the pages the batch printing gives them (SetPage); the
// income and expense tabs share the journal page, which shows the kind of the tab.
class TStapelFrame : public QWidget {
    Q_OBJECT
public:
    enum Tab { kRechnungen = 0, kMahnungen = 1, kEinnahmen = 2, kAusgaben = 3 };

    TStapelFrame(QWidget* journalPage, QWidget* parent = nullptr);

    // Puts the page of a batch printing tab in place of its empty page.
    void SetPage(int tab, QWidget* page);
    QWidget* Page(int tab) const;
    // The first tab that has a page of its own; the income tab while the batch tabs have none.
    int FirstTab() const;

    QTabBar* Tabs() const { return m_tabs; }
    int CurrentTab() const;
    // Shows a tab without asking anybody.
    void ShowTab(int tab);

    // Asked before the person changes the tab; false keeps the tab shown.
    std::function<bool(int tab)> MayShowTab;

signals:
    void tabShown(int tab);

private:
    QTabBar* m_tabs = nullptr;
    QStackedWidget* m_stack = nullptr;
    QWidget* m_pages[2] = {};
    bool m_ownPage[2] = {};
    QWidget* m_journal = nullptr;
    int m_shown = -1;
};
