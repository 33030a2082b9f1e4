// Saving a record card: the card file, both registers, the payment bookings.
#include <QFile>
#include <QFileInfo>

#include "bookkeeping/Balances.h"
#include "bookkeeping/Journal.h"
#include "cards/CardRegisters.h"
#include "cards/CardWorkspace.h"
#include "common/Clock.h"
#include "common/DateUtil.h"
#include "common/NumberFormat.h"
#include "common/UserPort.h"
#include "masterdata/BookingForm.h"
#include "platform/Files.h"
#include "table/TSGrid.h"
#include "table/TableFile.h"

namespace card {

bool CardWorkspace::SaveRecordCard()
{
    if (m_file.isEmpty())
        return false;
    m_form.Sum();
    const CardState& state = m_form.State();
    const QStringList header = BuildHeader(state);
    Rows& rows = m_form.GetRows();
    CutForSave(rows);
    m_cardGrid.SetLines(LinesFromRows(rows));
    if (!m_cardGrid.SaveCard(m_file, header))
        return false;
    m_form.SetModified(false);
    m_bsBookedSinceSave = false;
    m_savedSummaryLines = state.summary.size();

    if (m_releasing) {
        TakeBackPayments();
        SetReleasing(false);
    }
    const RegisterChanges changes =
        RegisterChangesFor(state, rows, m_clock.Today(), m_settings.currency, m_settings.dmRate);
    if (state.IsInvoiced()) {
        AppendToRegister(kDunningRegister, changes.dunningLine);
        AppendToRegister(kInvoiceRegister, changes.invoiceLine);
        BookPending();
    } else {
        AppendToRegister(kInvoiceRegister, changes.invoiceLine);
        AppendToRegister(kDunningRegister, changes.dunningLine);
    }
    if (ClearStockCancellations)
        ClearStockCancellations();
    return true;
}

void CardWorkspace::AppendToRegister(const QString& name, const QString& line)
{
    const QString path = files::FindCaseInsensitive(m_dataFolder, name);
    if (table::CreateIfMissing(m_cardGrid.Environment(), m_port, path))
        AppendLine(path, line);
}

bool CardWorkspace::AppendLine(const QString& path, const QString& line)
{
    return table::AppendChangeLine(m_cardGrid.Environment(), m_port, path, line);
}

void CardWorkspace::SetReleasing(bool on)
{
    m_releasing = on;
    m_takeBack.clear();
    if (!on)
        return;
    // The card file's payment lines are booked (the save that wrote them booked them); the
    // lines after them wait for a save that will not come.
    m_takeBack = PaymentLines(m_form.State().summary.mid(0, m_savedSummaryLines));
    m_pending.clear();
}

void CardWorkspace::TakeBackPayments()
{
    const CardState& state = m_form.State();
    for (const QDate& month : PaymentMonths(m_takeBack)) {
        const QString path = journal::JournalFileName(m_dataFolder, month.month(), month.year(),
                                                      journal::Kind::Income, m_settings.currency);
        AppendLine(path, RegisterRemoveLine(state.key));
    }
    for (const QString& line : m_takeBack) {
        PaymentLine payment;
        if (!ParsePaymentLine(line, &payment))
            continue;
        const balances::Account account =
            balances::AccountFor(payment.cash ? QStringLiteral("B") : QStringLiteral("Ü"),
                                 state.customerText, m_settings.secondBusinessDefined);
        balances::AddToAccount(m_options, account, payment.currency.left(1), -payment.amount,
                               m_settings.dmRate);
    }
}

void CardWorkspace::BookPending()
{
    for (const PendingBooking& booking : m_pending)
        BookIncome(booking);
    m_pending.clear();
}

void CardWorkspace::BookIncome(const journal::Booking& booking)
{
    const auto append = [this](const QString& path, const QString& line) {
        return AppendLine(path, line);
    };
    if (!journal::AppendBooking(m_dataFolder, booking, m_settings.currency, m_settings.dmRate,
                                append))
        return;
    balances::AddToAccount(
        m_options,
        balances::AccountFor(booking.kind, booking.customer, m_settings.secondBusinessDefined),
        booking.currency, booking.gross, m_settings.dmRate);
}

QStringList CardWorkspace::BsBookingProposal(int row) const
{
    const Rows& rows = m_form.GetRows();
    const Row& line = rows[size_t(row)];
    const CardState& state = m_form.State();
    QDate date = RowDate(rows, row);
    if (!date.isValid())
        date = m_clock.Today();
    long double amount = 0;
    TryStrToFloat(line.Cell(kColAmount), &amount);
    const QString rounded = FormatFloat(QStringLiteral("0.00"), amount);
    return {dates::Format(date),
            state.key,
            state.customerText,
            state.IsGross() ? QString() : rounded,
            FormatFloat(QStringLiteral("0.0"), m_settings.Rate(line.Cell(kColVat), date)),
            state.IsGross() ? rounded : QString(),
            line.Cell(kColBS)};
}

void CardWorkspace::ConfirmBsBooking(int row, const BookingForm& dialog)
{
    const auto amount = [&dialog](int id) {
        long double value = 0;
        TryStrToFloat(dialog.Text(id), &value);
        return value;
    };
    journal::Booking booking;
    booking.currency = m_form.State().currency.left(1).toUpper();
    dates::TryParse(dialog.Text(BookingForm::EinnDatum), &booking.date);
    booking.receipt = dialog.Text(BookingForm::EinnBeleg);
    if (!m_settings.gobdRestrictions)
        booking.receipt += QLatin1Char('*');  // a manual booking, which may be edited
    booking.customer = dialog.Text(BookingForm::EinnKunde);
    booking.net = amount(BookingForm::EinnNetto);
    booking.rate = dialog.Text(BookingForm::EinnUst);
    booking.gross = amount(BookingForm::EinnBrutto);
    booking.kind = dialog.Text(BookingForm::EinnZArt);
    BookIncome(booking);
    (void)row;  // the mark stays as typed
    m_bsBookedSinceSave = true;
    m_form.Sum();
    m_form.SetModified(true);
}

void CardWorkspace::CancelBsBooking(int row)
{
    m_form.GetRows()[size_t(row)].Cell(kColBS).clear();
}

bool CardWorkspace::LeaveModifiedCard()
{
    if (!m_form.IsModified())
        return true;
    bool saved = true;
    if (m_port.Message(MsgKind::Confirmation,
                       QStringLiteral("Möchten Sie die Änderungen abspeichern?"),
                       Buttons::YesNo) == Answer::Yes) {
        saved = SaveRecordCard();
        if (m_form.BsChanged()) {
            m_port.Message(MsgKind::Information,
                           QStringLiteral("B/S-Einträge bzw. Preise sind geändert!\r\r"
                                          "Kontrollieren und berichtigen Sie ggfs.\r"
                                          "Abweichnungen im Stapeldruck/Einahmen!"));
        }
    } else {
        if (UndoStockCancellations)
            UndoStockCancellations();
        if (m_bsBookedSinceSave) {
            m_port.Message(MsgKind::Information,
                           QStringLiteral("B/S-Preis-Änderungen nicht übernommen!\r\r"
                                          "Kontrollieren und berichtigen Sie ggfs.\r"
                                          "Abweichungen im Stapeldruck/Einahmen!"));
        }
        // The edits are dropped: the card shows its file again.
        ShowCard(m_customerRecord, m_file, m_number);
    }
    m_form.ClearBsChanged();
    m_bsBookedSinceSave = false;
    return saved;
}

}  // namespace card
