#pragma once

#include <QDate>
#include <QString>
#include <memory>

#include "settings/IniSettings.h"
#include "shell/Workspaces.h"

class Clock;
class StartUp;
class TForm1Dunning;
class TJournalPage;
class TSGrid;
class TStapelFrame;
class UserPort;
class QWidget;
struct TableEnvironment;
struct TForm1Printers;
namespace journal {
class JournalWorkspace;
}

// What the batch workspace asks of the main window.
class StapelHost {
public:
    virtual ~StapelHost() = default;
    virtual bool GoBdRestrictions() const = 0;  // " GoBD Restriktionen ein/aus"
    // The file a tab shows, for the window's file label.
    virtual void ShowStapelFile(const QString& path) = 0;
};

// The main window's side of the workspace "Stapeldruck u. E/A": the frame with its four
// tabs, the journal grid and workspace behind the income and expense tabs, the password of
// each tab, and the start-up steps of the bookkeeping.
class TForm1Stapel {
public:
    TForm1Stapel(StapelHost& host, UserPort& port, const Clock& clock, StartUp& startUp,
                 PasswordGate& gate, TForm1Printers& printers,
                 std::shared_ptr<const TableEnvironment> tableEnv);
    ~TForm1Stapel();

    // The frame, made a child of `parent`.
    TStapelFrame* Build(QWidget* parent);
    TStapelFrame* Frame() const { return m_frame; }
    TJournalPage* JournalPage() const { return m_page; }
    journal::JournalWorkspace& Journal() const { return *m_journal; }
    // The invoice and reminder tabs (TForm1Dunning.cpp).
    TForm1Dunning* Dunning() const { return m_dunning.get(); }
    void SetDunning(std::unique_ptr<TForm1Dunning> dunning);

    // Entering the workspace: the tab shown last (the first one at the start), as far as
    // its password allows; -1 when the person was refused.
    int ChooseTab();
    void Show(int tab);
    // The file the tab shown holds (the month of a journal tab).
    QString ShownFile() const;
    // Leaving it: the journal grid is emptied.
    void Finish();
    // The GoBD switch changed.
    void GoBdChanged();

    // Start-up steps: the selectors, and the old journals offered for deletion.
    void PrepareSelectors(const QDate& today);
    bool CleanUpOldBookings();

    // "Drucken" of the journal view: the print choice, then the list or the VAT return.
    void Print();
    // "EAR Info": the income/expense result of the view's period.
    void Statistics();

private:
    void ApplySettings();
    void TabShown(int tab);

    StapelHost& m_host;
    UserPort& m_port;
    const Clock& m_clock;
    StartUp& m_startUp;
    TForm1Printers& m_printers;
    IniSettings m_settings;
    StapelGate m_gate;
    std::unique_ptr<TSGrid> m_grid;
    std::unique_ptr<journal::JournalWorkspace> m_journal;
    TStapelFrame* m_frame = nullptr;
    TJournalPage* m_page = nullptr;
    int m_lastTab = -1;
    std::unique_ptr<TForm1Dunning> m_dunning;
};
