#pragma once

#include <QStringList>

#include "common/FormField.h"
#include "texts/LetterHead.h"

class Clock;
class UserPort;

// The letterhead dialog ("(Brief-)Kopf"): sender, addressee, date, subject and the print
// switches of a letter. The dispensing record uses the same dialog for the animal keeper
// ("Tierhalter"), where the subject field holds the VVVO number.
class TKreditorDlgForm : public FormBase {
public:
    enum Id { Anrede, Vorname, Name, Strasse, PlzOrt, Datum, Titel, KundenSuche, kCount };
    enum class Mode { Letterhead, Keeper };

    TKreditorDlgForm(Mode mode, UserPort& port, const Clock& clock);

    Mode GetMode() const { return m_mode; }
    QString Caption() const;
    QString TitleGroupCaption() const;

    // The pharmacy sender can be chosen only when the pharmacy is set up in the options.
    void SetPharmacyAvailable(bool available);
    bool PharmacyAvailable() const { return m_pharmacyAvailable; }
    bool Pharmacy() const { return m_pharmacy; }
    void SetPharmacy(bool on);
    bool Bank() const { return m_bank; }
    bool Phone() const { return m_phone; }
    bool Firm() const { return m_firm; }
    void SetBank(bool on);
    void SetPhone(bool on);
    void SetFirm(bool on);

    void SetHead(const LetterHead& head);
    LetterHead Head() const;
    // Salutation "Frau / Herrn / Firma", the other fields empty, all switches on.
    void Reset();

    // A customer record line: salutation, name, first name, street, postcode/town, and the
    // pharmacy sender for a pharmacy customer when the pharmacy is set up.
    void PrefillFromCustomer(const QString& customerLine);
    // The customer table the search field looks in (sorted record lines); may be null.
    void SetCustomers(const QStringList* customerLines) { m_customers = customerLines; }

    // Ctrl+D in the date field.
    void InsertToday();
    bool Leave(int id, bool closingOk = false) override;

    // Opening: what Cancel goes back to. OK leaves the focused field as for closing.
    void Begin();
    bool Ok(int focusedField);
    void Cancel();
    // Something was changed since Begin.
    bool Changed() const { return m_changed; }

    // ---- The keeper mode of the dispensing record ----
    // The keeper line: "(A) " for the pharmacy, first name and name, street, postcode/town,
    // then the VVVO number in brackets when one is given; "- - -" while no name or address
    // field is filled, so an empty dialog never counts as a keeper.
    QString KeeperLine() const;
    QString VvvoNumber() const { return Text(Titel); }
    // A stored record: its keeper line and the four address fields. The pharmacy switch and
    // the VVVO number come from the keeper line, so nothing of the record shown before stays.
    void LoadKeeper(const QString& keeperLine, const QString& firstName, const QString& name,
                    const QString& street, const QString& town);
    // A new record that starts empty: address fields, VVVO number and pharmacy switch.
    void ClearKeeper();

protected:
    QChar FilterKey(int id, QChar key) override;
    void TextChanged(int id) override;

private:
    struct Snapshot {
        LetterHead head;
        QString search;
    };

    Mode m_mode;
    UserPort& m_port;
    const Clock& m_clock;
    const QStringList* m_customers = nullptr;
    bool m_pharmacyAvailable = false;
    bool m_pharmacy = false;
    bool m_bank = true;
    bool m_phone = true;
    bool m_firm = true;
    bool m_changed = false;
    bool m_filling = false;
    Snapshot m_snapshot;
};
