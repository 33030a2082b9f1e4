#pragma once

#include <QDate>
#include <QString>

#include "cards/CardFile.h"

class Clock;
class KeyValueSettings;
class UserPort;

namespace card {

// What the print dialog of the record card prints or closes.
enum class PrintKind { Card, Invoice, Receipt, Quote, Reminder1, Reminder2 };

// The two alternative panels: closing the customer's current open card, or printing any
// other card (with the reminder choices on invoiced cards).
enum class PrintPanel { Closing, InvoiceOnly };

struct ControlState {
    bool visible = true;
    bool enabled = true;
    bool checked = false;
};

struct DateField {
    QString text;
    bool visible = true;
    bool readOnly = false;
};

// What the dialog needs to know of the card and its surroundings when it opens.
struct CardPrintSetup {
    bool karteiWorkspace = true;  // batch printing passes its own defaults
    bool copyDefault = false;     // batch printing: its copy option
    int cardNumber = 0;           // e
    int storedCurrentNumber = 0;  // n, customer column 9
    QString invoiceDate;          // header line 8: "- - -" while open
    QString openAmount;           // as shown: "0,00", "- - -", ...
    bool mailPrinterConfigured = false;
    bool mailProgram = false;  // without a mail printer the mail program takes a PDF
    bool customerHasEmail = false;
    Rows rows;
    // Reminder term checks.
    int invoiceTermDays = 14;
    int reminder1TermDays = 14;
    QString reminder1Date;  // summary line 17, "- - -" when none
    // Whether anything takes the reminder choices; without it they are shown disabled.
    bool remindersAvailable = false;
};

// The choice handed to the closing and reminder code on OK.
struct CardPrintChoice {
    PrintKind kind = PrintKind::Invoice;
    bool asReceipt = false;  // "Als Quittung drucken"
    bool noPrint = false;
    bool copy = false;
    bool mail = false;
    QDate printDate;
    QDate toDate;  // invalid when the closing panel is not shown
};

// Every rule of TKarteiRechnDruckDlg; the dialog only binds its widgets to this.
class TKarteiRechnDruckDlgForm {
public:
    enum class Field { None, PrintDate, ToDate };
    enum class Result { Open, Ok, Cancelled };

    TKarteiRechnDruckDlgForm(UserPort& port, const Clock& clock, KeyValueSettings* options);

    void Open(const CardPrintSetup& setup);

    // Picks a kind; the kind boxes behave as one choice. A reminder runs its term check at
    // once, which may end the dialog (Result()).
    void SelectKind(PrintKind kind);
    void SetAsReceipt(bool on);
    void SetNoPrint(bool on);
    void ClickCopy(bool on);  // written to the options at once
    void SetMail(bool on);
    void SetPrintDateText(const QString& text) { m_printDate.text = text; }
    void SetToDateText(const QString& text) { m_toDate.text = text; }
    void LeavePrintDate();
    void LeaveToDate();

    // False keeps the dialog open; Focus() names the field to return to.
    bool Confirm();
    void Cancel() { m_result = Result::Cancelled; }

    PrintPanel Panel() const { return m_panel; }
    PrintKind Kind() const { return m_kind; }
    Result Outcome() const { return m_result; }
    Field Focus() const { return m_focus; }
    const ControlState& KindBox(PrintKind kind) const { return m_kinds[static_cast<int>(kind)]; }
    const ControlState& AsReceiptBox() const { return m_asReceipt; }
    const ControlState& NoPrintBox() const { return m_noPrint; }
    const ControlState& CopyBox() const { return m_copy; }
    const ControlState& MailBox() const { return m_mail; }
    const DateField& PrintDate() const { return m_printDate; }
    const DateField& ToDate() const { return m_toDate; }
    QString PrintDateLabel() const;
    // The tool tip of the reminder choices: why they cannot be chosen, empty when they can.
    QString ReminderHint() const;
    CardPrintChoice Choice() const;

    // The reference line of the date check: from the bottom, the last line with a valid
    // date of its own; with a valid limit, the last one not after it. -1 when none.
    static int ReferenceRow(const Rows& rows, const QDate& limit = {});

private:
    bool IsInvoiced() const;
    bool ClosingKind() const;
    void ApplyKind();
    bool RemindersAllowed() const;
    bool ReminderTermCheck();
    static QString NormalizeTyped(const QString& text);

    UserPort& m_port;
    const Clock& m_clock;
    KeyValueSettings* m_options;
    CardPrintSetup m_setup;
    PrintPanel m_panel = PrintPanel::Closing;
    PrintKind m_kind = PrintKind::Invoice;
    Result m_result = Result::Open;
    Field m_focus = Field::None;
    ControlState m_kinds[6];
    ControlState m_asReceipt;
    ControlState m_noPrint;
    ControlState m_copy;
    ControlState m_mail;
    DateField m_printDate;
    DateField m_toDate;
};

// The option the copy box keeps.
inline const QString kCopyOptionSection = QStringLiteral("RechnKopieChk");

}  // namespace card
