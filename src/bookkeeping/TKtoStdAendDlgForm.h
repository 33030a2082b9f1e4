#pragma once

#include <QString>

#include "bookkeeping/BookkeepingSettings.h"
#include "common/FormField.h"

class KeyValueSettings;

// "Aktuelle Kontostände ändern": the practice's cash and bank balance, and the pharmacy's
// pair when it has an account of its own, in the currency of the journal view.
class TKtoStdAendDlgForm : public FormBase {
public:
    enum Id { KasseEdit, BankEdit, Kasse2Edit, Bank2Edit, kCount };

    // Fills the fields with the stored balances converted into the view's currency.
    TKtoStdAendDlgForm(KeyValueSettings& options, const BookkeepingSettings& settings,
                       const QString& currencyLetter);

    static QString Caption() { return QStringLiteral("Aktuelle Kontostände ändern"); }
    // The tall form with the pharmacy's pair.
    bool Tall() const { return m_settings.separatePharmacyAccount; }
    QString FieldCaption(int id) const;
    QString PairLabel(int id) const;  // "Praxis  " / "Apotheke  " in the tall form
    QString CurrencyText() const;

    // An empty field becomes "0".
    bool Leave(int id, bool closingOk = false) override;
    // OK: the practice's pair, and the pharmacy's when it is a business of its own, are
    // written in the view's currency.
    void Save();

protected:
    QChar FilterKey(int id, QChar key) override;

private:
    long double Value(int id) const;

    KeyValueSettings& m_options;
    BookkeepingSettings m_settings;
    QString m_letter;
};
