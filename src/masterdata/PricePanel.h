#pragma once

#include <QString>

#include "common/FormField.h"
#include "masterdata/PriceRules.h"

class UserPort;

// The price panel of the medication and service workspaces: what the typed quantity of the
// selected record costs, net and gross, as the record card would take it over. Medications
// may be priced with the 100 % surcharge on the purchase price (the "100%" button, shared
// with the record card); services at another fee factor typed into the factor field, which
// takes the factor of each service the selection moves to. Enter in the search field hides
// the panel; the next search, grid key or change of quantity, factor or surcharge shows it.
class PricePanel {
public:
    explicit PricePanel(UserPort& port);

    FormField& Factor() { return m_factor; }
    bool Visible() const { return m_visible; }
    void Hide() { m_visible = false; }
    bool HundredPercent() const { return m_hundredPercent; }
    void SetHundredPercent(bool on) { m_hundredPercent = on; }

    // The selection moved to this service: the factor field shows its factor.
    void SelectService(const QString& serviceLine);
    // Digits and one comma (a point becomes one), four characters at most.
    bool FactorKey(QChar key);
    // Leaving the factor field: empty or 0 is the service's own factor, the text is written
    // as factors are ("2,5"); outside 1..3 "GOT-Faktor-Bereich (1..3)!" and the service's
    // own factor again.
    void LeaveFactor(const QString& serviceLine);

    // Shows the panel with the price of the quantity of the record line. A quantity that is
    // no number (or a line without prices) gives a text that says so.
    QString MedicationQuote(const QString& medicationLine, const QString& quantity,
                            const PriceSettings& settings);
    QString ServiceQuote(const QString& serviceLine, const QString& quantity,
                         const PriceSettings& settings);

private:
    UserPort& m_port;
    FormField m_factor;
    bool m_visible = false;
    bool m_hundredPercent = false;
};
