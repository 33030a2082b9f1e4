#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include "cards/CardCloseRun.h"
#include "cards/CardHeader.h"
#include "printing/PrintCanvas.h"

class Clock;
class KeyValueSettings;
class UserPort;

namespace card {
class CardWorkspace;
}

// Reminders 1 and 2 of an invoiced card with their fees, the reminder letter, and the
// release of an invoiced card back to the open state.
namespace dunning {

// The options of the page "Mahnwesen", as text: what cannot be read is reported where it
// is used.
struct DunningOptions {
    QString fee1 = QStringLiteral("5,00");   // "MaGeb1Edit"
    QString fee2 = QStringLiteral("10,00");  // "MaGeb2Edit"
    QString invoiceTerm = QStringLiteral("14");
    QString term1 = QStringLiteral("14");
    QString term2 = QStringLiteral("14");
    QString title1;  // "UebMa1Edit"
    QString title2;
    bool bothCurrencies = false;  // "PreisAuszChk"
    QString currency = QStringLiteral("Euro");
    long double dmRate = 1.95583L;
};
DunningOptions DunningOptionsFrom(const KeyValueSettings& options);

// The fee of a level in the card's currency; false when the option is no number.
bool ReminderFee(const DunningOptions& options, int level, const QString& cardCurrency,
                 long double* fee);

// "MAHNUNG1.TLV" or "MAHNUNG2.TLV".
QString ReminderTextName(int level);

// The texts the placeholders of a reminder text stand for.
struct ReminderValues {
    QString due;              // FFF
    QString invoiceDate;      // DDD
    QString open;             // BBB
    QString fees;             // MMM
    long double payable = 0;  // the open amount (fees charged included), card's currency
};
// False when the invoice date, the open amount or a charged fee cannot be read. A due date
// that cannot be computed is 13 blanks.
bool ReminderValuesFor(const card::CardState& state, int level, const DunningOptions& options,
                       ReminderValues* values);
// The text of the letter: a first line with the letter-header marker goes, and in each line
// the first occurrence of each placeholder is replaced.
QStringList FillReminderText(QStringList lines, const ReminderValues& values);

// The mail subject and job title of a reminder ("Mahnung 0012/005").
QString ReminderDocumentName(int level, const QString& cardKey);

// What a reminder letter consists of; the print lays it out on TPrintStrList.
struct ReminderLetter {
    QStringList lines;
    QStringList letterhead;  // the 17 slots
    QString title;           // the print job's title
    QString date;            // the document date: the reminder's date
    QString mailName;        // the document name the mail printer is given
    QByteArray payCodeText;  // what the payment code says; empty: no code
    MonoBitmap payCode;
};

enum class IssueOutcome { Issued, NotIssued, PrintFailed };

inline const QString kReminder1Blocked =
    QStringLiteral("Mahnstatus 1 kann nicht gesetzt werden,\rda Mahnung 2 bereits aktiviert!");
inline const QString kNotInvoiced = QStringLiteral(
    "Die Karteikarte ist noch nicht abgerechnet:\r"
    "eine Mahnung ist erst nach dem Rechnungsdruck möglich!");

// Reminders and the release on the card a card workspace shows.
class CardDunning {
public:
    CardDunning(card::CardWorkspace& workspace, UserPort& port, const Clock& clock,
                const card::ClosePrinters& printers);

    // Issues reminder 1 or 2. In batch printing the fee is always charged; from the card a
    // reminder issued before is only reprinted, after a question, with its date moved to
    // today. A letter that does not come out leaves the card as it was.
    IssueOutcome IssueReminder(int level, bool batch, bool copy, bool mail = false);
    // Prints the letter of a level for the card as it stands; false when nothing was printed.
    bool PrintReminder(int level, bool copy, bool mail, bool* printerFailed = nullptr);
    // The letter without printing it; false (with its message) when it cannot be made.
    bool ComposeReminder(int level, ReminderLetter* letter);

    // "Freigeben": after the question the card is open again; the next save takes its
    // payments back from the journals and balances.
    bool ReleaseCard(bool gobdRestrictions);

private:
    card::CardWorkspace& m_ws;
    UserPort& m_port;
    const Clock& m_clock;
    card::ClosePrinters m_printers;
};

// The derived display fields of a state (reminder label, hints, the boxes' enabled state)
// after its header values changed.
void Rederive(card::CardState& state);

}  // namespace dunning
