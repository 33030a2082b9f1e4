#pragma once

#include <QStringList>

#include "common/FormField.h"
#include "masterdata/MasterTableView.h"
#include "masterdata/PriceRules.h"

class UserPort;

// The medication panel of the record edit dialog.
class MedicationForm : public FormBase {
public:
    enum Id { Artikel, EinkNetto, VerkNetto, VerkMitSt, Ust, Wartezeit, Charge, Bem, kCount };

    MedicationForm(EditMode mode, const PriceSettings& settings);

    // Edit mode: cells 1..8 of the current record.
    void Load(const QStringList& cells);

    bool Leave(int id, bool closingOk = false) override;
    void AmpvClick();
    bool Humanpraep() const { return m_human; }
    // The check box clicked by hand.
    void SetHumanpraep(bool checked);
    QString UstRateLabel() const;
    QString AmpvToolTip() const { return prices::AmpvToolTip(m_human); }

    // The close check on OK; false keeps the dialog open.
    bool CheckOk(UserPort& port, const MasterTableView& table);
    QStringList Cells() const;  // cells 1..8 for the table

protected:
    QChar FilterKey(int id, QChar key) override;
    void TextChanged(int id) override;

private:
    EditMode m_mode;
    PriceSettings m_settings;
    bool m_human = false;
    QString m_openedName;
};
