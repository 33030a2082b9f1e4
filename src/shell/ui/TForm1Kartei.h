#pragma once

#include <memory>

#include "cards/CardSettings.h"
#include "settings/IniSettings.h"

class IniLayoutStore;
class TForm1;
class TKarteiPanel;
namespace card {
class LineStopMeter;
}

// The main window's side of the record card workspace: the panel, the options file as
// the card sees it, and the measure of the line stop.
class TForm1Kartei {
public:
    explicit TForm1Kartei(TForm1& form);
    ~TForm1Kartei();

    TKarteiPanel* Panel() const { return m_panel; }
    void SetPanel(TKarteiPanel* panel) { m_panel = panel; }
    IniSettings& Settings() { return m_settings; }
    // The options the card reads, with the main menu's GoBD switch.
    CardSettings CardOptions() const;
    // Measures the description column on the current printer (made when first needed).
    void MeasureLineStop();
    bool LineStopExceeds(const QString& text);
    // "Drucken" of the card: the print dialog and the close, print or reminder it chose.
    void RunPrint();

private:
    TForm1& m_form;
    IniSettings m_settings;
    TKarteiPanel* m_panel = nullptr;
    std::unique_ptr<IniLayoutStore> m_layouts;
    std::unique_ptr<card::LineStopMeter> m_meter;
};
