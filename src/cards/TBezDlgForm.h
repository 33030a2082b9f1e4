#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

#include "cards/CardFile.h"
#include "cards/CardHeader.h"
#include "cards/Payment.h"
#include "common/FormField.h"
#include "common/NumberFormat.h"

class Clock;
class KeyValueSettings;
class UserPort;

namespace card {

// The payment dialog "Zahlung / Buchung" without its widgets: what it shows, the key rules
// of the amount, date and discount fields, the live rest, the discount and the OK checks.
class TBezDlgForm : public FormBase {
public:
    enum FieldId { kAmount, kDate, kDiscount, kFieldCount };

    // lastPaymentDate is the date entered last since the program started (kept by the
    // caller); OK updates it.
    TBezDlgForm(const CardState& state, const Clock& clock, KeyValueSettings& options,
                QDate* lastPaymentDate);

    static QString Caption() { return QStringLiteral("Zahlung / Buchung"); }
    const QString& Currency() const { return m_currency; }
    QString InvoiceSumText() const;           // "Rechnungssumme: 119,00 Euro  (01.03.2024)"
    QString FeeText(int reminder) const;      // "5,00" or "- - -"
    QString FeeDateText(int reminder) const;  // date or "- - -"
    const QStringList& EarlierPayments() const { return m_earlier; }
    QString OpenText() const;  // "0.00"
    long double Open() const { return m_open; }

    // Nothing open: every field read-only, no Cancel, the status says why.
    bool IsPaid() const { return m_paid; }
    bool CancelVisible() const { return !m_paid; }
    bool WriteOffOffered() const { return !m_paid; }
    const QString& StatusText() const { return m_status; }

    // Live display, recomputed from the amount as typed.
    QString EchoText() const;     // "Zahlung:" value, "0.00"
    QString RestText() const;     // "0.00", or "neg." below zero
    QString PercentText() const;  // "(= 50,0 % von 100,00)" while a rest is open, else empty
    long double Amount() const;   // the amount as typed; no number is 0
    long double Rest() const { return RoundCents(m_open - Amount()); }

    PaymentKind Kind() const { return m_kind; }
    // Stored in the options at once.
    void SetKind(PaymentKind kind);
    bool WriteOff() const { return m_writeOff; }
    void SetWriteOff(bool on) { m_writeOff = on; }

    // The discount button and the blank key in the discount field.
    void ComputeDiscount();
    // Alt+D in the date field.
    void PutToday();

    bool Leave(int id, bool closingOk = false) override;
    bool KeyPress(int id, QChar key) override;

    // The OK button: true when the dialog may close. Entry() then holds the payment; without
    // one (nothing was open) HasEntry() is false and the card stays as it is.
    bool Ok(UserPort& port);
    bool HasEntry() const { return m_hasEntry; }
    const PaymentEntry& Entry() const { return m_entry; }

protected:
    QChar FilterKey(int id, QChar key) override;

private:
    long double Discount() const;

    const Clock& m_clock;
    KeyValueSettings& m_options;
    QDate* m_lastPaymentDate;
    QString m_currency;
    QString m_invoiceGross;
    QString m_invoiceDate;
    QString m_fee[2];
    QString m_feeDate[2];
    QStringList m_earlier;
    long double m_open = 0;
    bool m_paid = false;
    QString m_status;
    PaymentKind m_kind = PaymentKind::Cash;
    bool m_writeOff = false;
    bool m_hasEntry = false;
    PaymentEntry m_entry;
};

// Runs the dialog for a form: true when it was closed with OK (the binding calls Ok()).
class PaymentDialogRunner {
public:
    virtual ~PaymentDialogRunner() = default;
    virtual bool Run(TBezDlgForm& form) = 0;
};

// The card's "Zahlung" button and the receipt's payment: shows the dialog and, on OK with
// an amount open, applies the payment. Returns whether the dialog was confirmed; `changed`
// tells whether the card was changed and is to be saved.
bool EnterPayment(PaymentDialogRunner& runner, Rows& rows, CardState& state,
                  const CardSettings& settings, UserPort& port, const Clock& clock,
                  KeyValueSettings& options, QDate* lastPaymentDate,
                  std::vector<PendingBooking>& pending, bool* changed = nullptr);

}  // namespace card
