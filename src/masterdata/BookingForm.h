#pragma once

#include <QDate>

#include "common/FormField.h"
#include "masterdata/MasterTableView.h"
#include "masterdata/PriceRules.h"

class UserPort;

// The income/expense booking panel of the record edit dialog.
class BookingForm : public FormBase {
public:
    enum Id { EinnDatum, EinnBeleg, EinnKunde, EinnNetto, EinnBrutto, EinnUst, EinnZArt, kCount };

    // journalMonth: any day of the month and year of the selected journal when the dialog
    // is opened from the journal workspace; an invalid date otherwise.
    BookingForm(EditMode mode, const PriceSettings& settings, bool income, QDate journalMonth);

    // Date, receipt, description, net, VAT, gross, payment kind (edit mode, or a proposal
    // with one of the two amounts, from which the other is computed).
    void Load(const QStringList& journalCells);

    QString KundeCaption() const;
    bool NetEditable() const { return !m_fields[EinnNetto].readOnly; }
    // "N&etto / Brutto": the other amount becomes editable and gets the focus.
    void SwitchNetBrutto();

    bool Apotheke() const { return m_pharmacy; }
    void SetApotheke(bool checked) { m_pharmacy = checked; }

    bool Leave(int id, bool closingOk = false) override;
    // The close check on OK; false keeps the dialog open with the field selected.
    bool CheckOk(UserPort& port);

protected:
    QChar FilterKey(int id, QChar key) override;
    void TextChanged(int id) override;

private:
    void Recompute();

    EditMode m_mode;
    PriceSettings m_settings;
    bool m_income;
    QDate m_journalMonth;
    bool m_pharmacy = false;
};
