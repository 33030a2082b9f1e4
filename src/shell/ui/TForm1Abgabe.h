#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "dispensing/AbgWorkspace.h"
#include "settings/IniSettings.h"

class AbgabePanel;
class Clock;
class IniLayoutStore;
class QAction;
class QMenu;
class QWidget;
class StartUp;
class TSGrid;
class UserPort;
struct TForm1Printers;

// The main window's side of the dispensing record workspace: the workspace over the
// options file, its panel, the search box, the print command and the page layout, and
// the measure of the automatic stop on the window's printer.
class TForm1Abgabe {
public:
    TForm1Abgabe(UserPort& port, const Clock& clock, StartUp& startUp, TForm1Printers& printers,
                 TSGrid& medications, TSGrid& customers);
    ~TForm1Abgabe();

    AbgabePanel* Build(QWidget* parent);
    abg::AbgWorkspace& Workspace() { return *m_workspace; }
    AbgabePanel* Panel() const { return m_panel; }
    // Entering the workspace: a new record of today, widths from the page layout.
    void Enter();
    // Leaving it or closing the window: the save question (Yes / No).
    void Finish();
    // "Drucken" (button and the Datei menu).
    void Print();
    // "Seite einrichten...": the page layout of the dispensing record.
    void PageSetup(QWidget* parent);
    // The recently dispensed list comes from the record card's take-overs.
    std::function<std::vector<abg::RecentEntry>()> recentEntries;

private:
    void ApplyLayout();
    QString SelectedCustomerCell(int col) const;

    UserPort& m_port;
    const Clock& m_clock;
    StartUp& m_startUp;
    TForm1Printers& m_printers;
    TSGrid& m_medications;
    TSGrid& m_customers;
    IniSettings m_settings;
    std::unique_ptr<IniLayoutStore> m_layouts;
    std::unique_ptr<abg::AbgWorkspace> m_workspace;
    std::unique_ptr<abg::SearchRunner> m_search;
    AbgabePanel* m_panel = nullptr;
};
