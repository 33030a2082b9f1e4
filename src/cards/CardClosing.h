#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "cards/CardFile.h"
#include "cards/CardHeader.h"
#include "cards/CardSettings.h"
#include "printing/Letterhead.h"

class KeyValueSettings;

// The pieces of closing a record card into an invoice, receipt or quote that work on rows
// and header lines alone. The card workspace strings them together with the print dialog,
// the payment dialog and the save.
namespace card {

enum class CloseKind { Invoice, Receipt, Quote };

// The stored current card number n after the repair before a close: when n = e and card
// e + 1 exists, or n < e, it becomes the last existing card counting up from e (at most 999).
int RepairedCurrentNumber(int shown, int stored, const std::function<bool(int)>& exists);

// Only the customer's current open card closes; card 999 and invoiced cards are reprinted.
bool IsRealClose(int shown, int stored, bool invoiced);

// The OK/Cancel question before a real close.
QString CloseQuestion(CloseKind kind, bool noPrint);

// The messages that stop a close, for the card key given.
QString InvalidToDateText(const QString& key, CloseKind kind);
QString NegativeSumText(const QString& key, CloseKind kind);
QString NoDateText(const QString& key, CloseKind kind);
inline const QString kPrintFailedText = QStringLiteral(
    "Der Druck konnte nicht ausgeführt werden.\rDie Karteikarte bleibt unverändert.");
inline const QString kReceiptPaymentCancelled =
    QStringLiteral("Der Druckvorgang wird abgebrochen.\rOhne Buchung kein Quittungsdruck!");

// The invoice gross of the summary (line 14), rounded to cents, is below zero.
bool InvoiceGrossNegative(const CardState& state);

// One printed row of a document: date, text, VAT rate text, amount.
struct PrintLine {
    QString date;
    QString text;
    QString vat;
    QString amount;
};

struct PrintCopy {
    bool ok = true;
    int errorRow = -1;  // a line with a VAT code and no date at or above it
    std::vector<PrintLine> lines;
    // The first row that stays off the invoice (dated after the "to" date); rows.size()
    // when all are taken.
    int cutRow = 0;
};

// The invoice's lines: from the top, stopping before the first line dated after the
// "to" date (when valid), without the lines marked "B" or "S". Gross cards print net
// amounts; both modes print the rate of the line's code at its date.
PrintCopy BuildPrintCopy(const Rows& rows, const CardState& state, const CardSettings& settings,
                         const QDate& toDate);

// Cuts the rows from cutRow on and returns them for the next card (without the empty
// rows at their end); the card keeps at least ten rows.
Rows CutForNextCard(Rows& rows, int cutRow);
// The new card's rows: the carried lines, padded to ten rows.
Rows NextCardRows(const Rows& carried);

// Document texts: the first " FFF " becomes the due date, with the blanks around kept.
QDate DueDate(const QDate& printDate, int termDays);
QString WithDueDate(const QString& text, const QDate& due);

struct DocumentTexts {
    QString title;
    QString head;
    QString foot1;
    QString foot2;
};
// The texts of the kind from the options list (title, head, foot I, foot II per document:
// invoice, receipt, quote), each with the due date put in.
DocumentTexts DocumentTextsFor(const QStringList& texts, CloseKind kind, const QDate& due);

QString CurrencyCode(const QString& currency);  // "EUR" or "DM"
QString OtherCurrencyCode(const QString& currency);

// The 18 footer slots: rate/VAT pairs of the groups with VAT, packed from slot 0; net, VAT,
// gross; the other-currency gross with the both-currencies switch; the two foot texts.
QStringList FooterSlots(const QStringList& summary, const QString& currency, bool bothCurrencies,
                        const QString& foot1, const QString& foot2);

// Freezes a closed invoice or receipt: the print date becomes the invoice date, and an
// unset open amount becomes the invoice gross.
void FreezeCard(CardState& state, const QDate& printDate);
// Release, the way back from an invoiced card, is offered for an invoiced card; under the
// GoBD restrictions only while it has no payment lines.
bool MayRelease(const CardState& state, bool gobdRestrictions);
// A quote keeps the card open; the remark of its last line marks it.
void MarkAsQuote(Rows& rows, const QDate& printDate, bool inventoryAutomatic);

// The next card after a close: t + 1, and the card 500 numbers older goes.
struct NextCardPlan {
    int number = 0;
    int deleteNumber = 0;  // 0: nothing to delete
};
NextCardPlan PlanNextCard(int storedCurrent);
// Deletes the card the plan drops, when it exists. False when it stayed.
bool ApplyRetention(const QString& dataFolder, const QString& customerNumber,
                    const NextCardPlan& plan);

// A receipt asks for its payment only while the card has no payment line; the open amount
// is then the invoice gross when still unset. True when the payment dialog must run.
bool PrepareReceiptPayment(CardState& state);
inline const QString kPaymentModeSection = QStringLiteral("ZahlungsModus");
inline const QString kPaymentModeKey = QStringLiteral("ZahlMod");

using ::BusinessData;
using ::BusinessFromOptions;
// The pharmacy's letterhead for a dispensing-medication customer when a second business
// name is set, else the practice's.
bool UsesPharmacyLetterhead(bool dispensingCustomer, const QString& secondBusinessName);
QString DocumentHeading(CloseKind kind, const QString& quoteTitle, bool dispensingCustomer,
                        bool secondBusinessDefined);

struct LetterheadInput {
    BusinessData business;
    QStringList addressee;  // up to four lines: salutation/name, name, street, town
    QString heading;
    QString cardKey;
    QString headText;
    int indentIndex = 0;
    QString logoPath;  // empty: no logo
};
QStringList LetterheadSlots(const LetterheadInput& input);

// "Talven - Rechnung 0012007", "Talven - Quittung ...", "Talven-Angebot ...".
QString PrintTitle(CloseKind kind, const QString& cardKey);
QString MailSubject(CloseKind kind, const QString& cardKey);

// The record card print: two rows per line (the line, then its remark and payment mark),
// and the title lines above the table.
struct CardPrint {
    bool ok = true;
    QString error;  // "Fehler (Zeile n): Kein gültiges Datum vorhanden!"
    std::vector<PrintLine> lines;
};
CardPrint BuildCardPrint(const Rows& rows, const CardSettings& settings,
                         const std::function<QString(const QString&)>& shortenRemark);
QStringList CardPrintTitles(const CardState& state);
QString CardPrintJobTitle(const QString& cardKey);

}  // namespace card
