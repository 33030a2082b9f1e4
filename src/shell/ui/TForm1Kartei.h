#pragma once

#include <memory>

#include "cards/CardSettings.h"
#include "settings/IniSettings.h"

class Clock;
class IniLayoutStore;
class QtPrintCanvas;
class StartUp;
class KarteiPanel;
class QMenu;
class TSGrid;
class UserPort;
struct TableEnvironment;
namespace card {
class CardWorkspace;
class LineStopMeter;
}  // namespace card

// What the record card workspace asks of the main window: the main menu switches the card
// follows.
class KarteiHost {
public:
    virtual ~KarteiHost() = default;
    virtual bool GoBdRestrictions() const = 0;    // " GoBD Restriktionen ein/aus"
    virtual bool InventoryAutomatic() const = 0;  // "Autom. Inventur der Medikamente"
};

// The main window's side of the record card workspace: the card grid and the card
// workspace it hands the panel, the options file as the card sees it, the measure of the
// line stop and the print command.
class TForm1Kartei {
public:
    // The workspace finds the cards of the customer selected in `customers`.
    TForm1Kartei(KarteiHost& host, UserPort& port, const Clock& clock, StartUp& startUp,
                 QtPrintCanvas& canvas, TSGrid& customers,
                 std::shared_ptr<const TableEnvironment> tableEnv);
    ~TForm1Kartei();

    card::CardWorkspace& Workspace() const { return *m_workspace; }
    TSGrid& CardGrid() const { return *m_cardGrid; }
    KarteiPanel* Panel() const { return m_panel; }
    void SetPanel(KarteiPanel* panel) { m_panel = panel; }
    IniSettings& Settings() { return m_settings; }
    // The options the card reads, with the main menu's GoBD switch.
    CardSettings CardOptions() const;
    // The card shown follows a changed option at once.
    void ApplyCardOptions();
    // Measures the description column on the current printer (made when first needed).
    void MeasureLineStop();
    bool LineStopExceeds(const QString& text);
    // "Drucken" of the card: the print dialog and the close, print or reminder it chose.
    void RunPrint();
    // The reminder boxes and the print dialog's reminders: level 1 or 2 of the card shown.
    void IssueReminder(int level, bool copy);
    // "Freigeben" of the card shown.
    void ReleaseCard();
    // "Seite einrichten...": the document layout of cards and invoices; after OK the line
    // stop measures the description column again.
    void PageSetup(QWidget* parent);
    // The take-over switches (quantities, species, fee number, factor) as check items of
    // the card's menu, written to the options file at once.
    void AddTakeOverSwitches(QMenu* menu);

private:
    KarteiHost& m_host;
    UserPort& m_port;
    const Clock& m_clock;
    StartUp& m_startUp;
    QtPrintCanvas& m_canvas;
    IniSettings m_settings;
    std::unique_ptr<TSGrid> m_cardGrid;
    std::unique_ptr<card::CardWorkspace> m_workspace;
    KarteiPanel* m_panel = nullptr;
    std::unique_ptr<IniLayoutStore> m_layouts;
    std::unique_ptr<card::LineStopMeter> m_meter;
};
