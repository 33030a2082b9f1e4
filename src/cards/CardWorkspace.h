#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>

#include "cards/CardEntryForm.h"
#include "cards/CardRegisters.h"
#include "cards/CardSettings.h"

class BookingForm;
class Clock;
class KeyValueSettings;
class TSGrid;
class UserPort;

namespace card {

class PaymentDialogRunner;

// The record card workspace without its widgets: finds, creates, loads, browses and saves the
// cards of the selected customer. The customer table grid and the card grid belong to the
// main window; the card's rows and header state live in the entry form between load and save.
class CardWorkspace {
public:
    CardWorkspace(UserPort& port, const Clock& clock, TSGrid& customers,
                  const QString& customerTablePath, TSGrid& cardGrid, const QString& dataFolder,
                  KeyValueSettings& options);

    void SetSettings(const CardSettings& settings);
    const CardSettings& Settings() const { return m_settings; }
    CardEntryForm& Form() { return m_form; }

    // Opens the current card of the customer in the given record of the customer table.
    // False when nothing could be shown (empty table, broken customer number, no card).
    bool LoadCurrentCard(int customerRecord) { return LoadCurrent(customerRecord, false); }
    // Opens a card by its key text ("0012/007"; anything but digits is dropped). False, and
    // the card shown stays, when the file or customer is missing or the card is broken.
    bool LoadCardByKey(const QString& keyText);
    bool PreviousCard() { return Browse(-1); }
    bool NextCard() { return Browse(+1); }

    // Sums and writes the card, updates both registers, hands pending bookings to the income
    // journal and the balances. False when the card file could not be written.
    bool SaveRecordCard();
    // Asks about a modified card before it is left. False when the card could not be saved.
    bool LeaveModifiedCard();

    // The income booking of a line typed "B" or "S": the fields the booking dialog starts
    // with (date, receipt, customer, net, VAT rate, gross, payment kind; the amount rounded
    // to cents in the field of the card's amount mode).
    QStringList BsBookingProposal(int row) const;
    // OK in the booking dialog: the booking goes to the income journal, its gross to the cash
    // or bank account; the mark stays and the card is summed.
    void ConfirmBsBooking(int row, const BookingForm& dialog);
    // Cancel in the booking dialog: the mark goes.
    void CancelBsBooking(int row);

    // The "Zahlung" button of an invoiced card: runs the payment dialog and applies a
    // confirmed payment (its bookings wait for the next save; the card is then modified).
    // Returns whether the dialog was confirmed.
    bool EnterPayment(PaymentDialogRunner& runner);

    // For closing a card (CardWorkspaceClose.cpp).
    QString DataFolder() const { return m_dataFolder; }
    KeyValueSettings& Options() { return m_options; }
    // A cell of the shown card's customer record.
    QString CustomerValue(int col) const { return CustomerCell(col, m_customerRecord); }
    // The customer's stored current card number (column 9); -1 when it is no number.
    int StoredCardNumber() const;
    bool StoreCurrentNumber(int card) { return StoreCardNumber(m_customerRecord, card); }
    // Creates card `card` of the shown customer as a new card holding the rows carried
    // over, stores it as the current card and shows it. False when it could not be written.
    bool OpenNextCard(int card, const Rows& carried);
    // The two steps of OpenNextCard, so a close can write the next card before the closed
    // one replaces the open card: the new card's file only (the card shown stays), then
    // storing it as the current card and showing it.
    bool WriteNextCard(int card, const Rows& carried);
    bool ShowNextCard(int card);

    QString CurrentFile() const { return m_file; }
    int CardNumber() const { return m_number; }
    int CustomerRecord() const { return m_customerRecord; }

    // Payment bookings waiting for the next save.
    std::vector<PendingBooking>& PendingBookings() { return m_pending; }

    // What a stopped close puts back: the card's rows and header state and the bookings
    // waiting for the save.
    struct Snapshot {
        Rows rows;
        CardState state;
        std::vector<PendingBooking> pending;
    };
    Snapshot TakeSnapshot() const;
    void Restore(const Snapshot& snapshot);
    // Marks the card as being released: the next save takes back the payments saved so far
    // (their journal bookings and balances). A payment not saved yet goes with its pending
    // bookings, which reached neither journal nor balance.
    void SetReleasing(bool on);
    bool Releasing() const { return m_releasing; }
    // A cash or cheque line was booked since the last save.
    void NoteBsBooking() { m_bsBookedSinceSave = true; }

    // The stock cancellations of the card: cleared on save and browse, undone when edits
    // are dropped. Set by the stock part.
    std::function<void()> ClearStockCancellations;
    std::function<void()> UndoStockCancellations;

private:
    QString CustomerCell(int col, int record) const;
    bool Exists(const QString& number, int card) const;
    bool CreateCard(int record, const QString& number, int card);
    bool StoreCardNumber(int record, int card);
    // Loads and shows a card file; false for an invalid header (nothing changes then).
    bool ShowCard(int record, const QString& path, int card);
    // Browsing forward onto a broken newest card goes on to the card after it.
    bool LoadCurrent(int record, bool browsing);
    void SetAside(const QString& path);
    bool Browse(int step);
    void DmNotice();
    // Registers and journals are no grid's table: their lines go straight to the files.
    bool AppendLine(const QString& path, const QString& line);
    void AppendToRegister(const QString& name, const QString& line);
    void TakeBackPayments();
    void BookPending();
    // Hands a booking to the income journal and puts its gross on the account it names.
    void BookIncome(const journal::Booking& booking);

    UserPort& m_port;
    const Clock& m_clock;
    TSGrid& m_customers;
    QString m_customerTablePath;
    TSGrid& m_cardGrid;
    QString m_dataFolder;
    KeyValueSettings& m_options;
    CardSettings m_settings;
    CardEntryForm m_form;

    QString m_file;
    int m_number = 0;
    int m_customerRecord = -1;
    std::vector<PendingBooking> m_pending;
    // Summary lines the card file holds: the payment lines among them are booked.
    qsizetype m_savedSummaryLines = 0;
    bool m_releasing = false;
    QStringList m_takeBack;  // the booked payment lines a release takes back
    bool m_bsBookedSinceSave = false;
    QDate m_lastPaymentDate;  // the payment date entered last in this run
};

}  // namespace card
