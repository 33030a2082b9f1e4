#pragma once

#include <QStringList>

#include "common/FormField.h"
#include "masterdata/MasterTableView.h"

class ClipboardPort;
class PostcodeList;
class UserPort;

// The customer panel of the record edit dialog.
class CustomerForm : public FormBase {
public:
    enum Id {
        KundeName,
        KundeVorname,
        KundeStrasse,
        KundePLZ,
        KundeTel,
        KundeAnrede,
        KundeBem,
        KundeMail,
        kCount
    };

    static const QStringList& AnredeItems();
    static QString AutomaticNumberText() { return QStringLiteral("( Wird automatisch vergeben )"); }

    CustomerForm(EditMode mode, UserPort& port);

    // Edit mode: cells 1..10 of the current record.
    void Load(const QStringList& cells);
    // The number shown in the label (insert mode: the next free number).
    void SetNumberText(const QString& text) { m_numberText = text; }
    QString NumberText() const { return m_numberText; }

    // The postcode list behind the postcode field (completion, learning); may be null.
    void SetPostcodeList(PostcodeList* list) { m_postcodes = list; }
    // The entries the drop-down list shows.
    QStringList PostcodeEntries() const;

    bool Apotheke() const { return m_pharmacy; }
    void SetApotheke(bool checked) { m_pharmacy = checked; }

    // Keys in the postcode field clean the list up and complete the town.
    bool KeyPress(int id, QChar key) override;
    // The list dropped down: empty entries go.
    void PostcodeDropDown();
    // The "-" button: removes the chosen entry, or the field's text when none is chosen.
    void PostcodeRemove(const QString& selectedEntry = {});

    bool Leave(int id, bool closingOk = false) override;
    // Up (or Down) arrow in the form of address field.
    void StepAnrede(bool up);

    // Copy the customer's fields to the clipboard / take them from it. Paste returns
    // false and changes nothing when the clipboard holds no customer.
    void Copy(ClipboardPort& clipboard) const;
    bool Paste(const ClipboardPort& clipboard);

    // The close check on OK: pharmacy marker, postcode learning.
    bool CheckOk();
    // Cells 1..10 of the record, with the given number and card count.
    QStringList Cells(const QString& number, const QString& cardCount) const;

protected:
    void TextChanged(int id) override;

private:
    UserPort& m_port;
    PostcodeList* m_postcodes = nullptr;
    QString m_numberText = AutomaticNumberText();
    bool m_pharmacy = false;
};
