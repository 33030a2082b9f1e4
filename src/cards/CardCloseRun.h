#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

#include "cards/CardClosing.h"
#include "cards/TKarteiRechnDruckDlgForm.h"

class Clock;
class KeyValueSettings;
class LayoutStore;
class MailPort;
class PrintCanvas;
class PrinterList;
class UserPort;

namespace card {

class CardWorkspace;
class PaymentDialogRunner;

// Runs the print dialog for a form that has been opened: true when it was closed with OK
// (the binding calls Confirm()).
class PrintDialogRunner {
public:
    virtual ~PrintDialogRunner() = default;
    virtual bool Run(TKarteiRechnDruckDlgForm& form) = 0;
};

// Where the documents of a close go. The canvas is switched between the standard printer
// and the mail printer by name.
struct ClosePrinters {
    PrintCanvas* canvas = nullptr;
    const PrinterList* printers = nullptr;
    QString standardPrinter;
    QString mailPrinter;  // empty: no mail printer installed
    QHash<QString, QString> mailCodes;
    std::function<void(const QString&)> selectPrinter;
    LayoutStore* layout = nullptr;  // the record card page layout; null: its defaults
    // Without a mail printer, "als E-Mail" prints to the PDF printer and hands the file to
    // the mail program; null: no mail program.
    MailPort* mailProgram = nullptr;
    std::function<QString()> lastPdf;  // the file the PDF printer wrote last
};

// "Als E-Mail" without a mail printer: prints through `print` on the PDF printer, then opens
// a message to the address naming the PDF. False when nothing was printed; a mail program
// that cannot be opened is reported with the PDF's place (the document exists).
bool PrintAndHandToMail(const ClosePrinters& printers, UserPort& port, const QString& address,
                        const QString& documentName, const std::function<bool()>& print);

// The control text a mail printer reads from the top of the first page: the address and
// the document name (as file name and as the name sent).
QString MailControlText(const QHash<QString, QString>& codes, const QString& address,
                        const QString& documentName);

// Title, head and foot texts of invoice, receipt and quote (section "Dokumente"), the
// defaults filling what an older file lacks.
QStringList DocumentTextsFromOptions(const KeyValueSettings& options);

// The column captions of the record card print.
QStringList CardPrintCaptions(const CardState& state);

// The "Drucken" command of the record card and the closes it leads to, on the card the
// workspace shows.
class CardCloseRun {
public:
    CardCloseRun(CardWorkspace& workspace, UserPort& port, const Clock& clock,
                 const ClosePrinters& printers, PaymentDialogRunner& payment);

    bool inventoryAutomatic = false;  // the quote remark says so
    // Batch printing closes without the question and keeps a gross card in gross mode
    // (only the print copy is net).
    bool batch = false;
    // Reminder kinds hand over to the dunning part: the card's reminder box is cleared
    // and set again; the copy choice of the dialog goes with it.
    std::function<void(int level, bool copy)> issueReminder;

    // The card checks, the print dialog and what it chose.
    void PrintCommand(PrintDialogRunner& dialog);
    // The dialog's setup for the card shown.
    CardPrintSetup Setup() const;

    bool PrintCard(const CardPrintChoice& choice);
    // Invoice or receipt (kind Receipt or "Als Quittung").
    bool CloseAsInvoice(const CardPrintChoice& choice);
    bool CloseAsQuote(const CardPrintChoice& choice);
    // The last close stopped because the printer refused or failed the document.
    bool PrintFailed() const { return m_printFailed; }

private:
    bool Close(CloseKind kind, const CardPrintChoice& choice);
    bool CheckCard();
    bool PrinterReady(const CardPrintChoice& choice);
    int StoredNumber() const;
    QString OptionValue(const QString& key, const QString& fallback = {}) const;
    int TermDays(const QString& key) const;
    // False when the printer refused or failed a pass.
    bool PrintDocument(CloseKind kind, const CardPrintChoice& choice, const PrintCopy& copy);
    void Stop(const QString& text);

    CardWorkspace& m_ws;
    UserPort& m_port;
    const Clock& m_clock;
    ClosePrinters m_printers;
    PaymentDialogRunner& m_payment;
    bool m_printFailed = false;
};

}  // namespace card
