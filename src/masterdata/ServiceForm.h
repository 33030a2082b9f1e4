#pragma once

#include <QStringList>

#include "common/FormField.h"
#include "masterdata/MasterTableView.h"
#include "masterdata/PriceRules.h"

class UserPort;

// The service panel of the record edit dialog: fee-schedule net, factor and sale net.
class ServiceForm : public FormBase {
public:
    enum Id {
        Leistung,
        LeistungTier,
        GOTNetto,
        Faktor,
        LeistungVerkNetto,
        LeistungVerkMitSt,
        LeistungUSt,
        LeistungGot,
        LeistungBem,
        kCount
    };

    ServiceForm(EditMode mode, const PriceSettings& settings, UserPort& port);

    // Edit mode: cells 1..9 of the current record.
    void Load(const QStringList& cells);

    // Leaving a field; closingOk is set when the dialog is being closed with OK.
    // Returns false when the focus stays in the field.
    bool Leave(int id, bool closingOk = false) override;
    QString UstRateLabel() const;

    bool CheckOk(const MasterTableView& table);
    QStringList Cells() const;  // cells 1..9 for the table

protected:
    QChar FilterKey(int id, QChar key) override;
    void TextChanged(int id) override;

private:
    bool LeaveFee();
    bool LeaveFactor(bool closingOk);
    bool LeaveSaleNet();
    bool FeeGiven(long double* fee) const;
    long double FactorValue() const;
    void SetSaleNet(long double value);

    EditMode m_mode;
    PriceSettings m_settings;
    UserPort& m_port;
    QString m_openedFee;
    QString m_openedKey;
};
