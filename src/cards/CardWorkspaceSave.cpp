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
#include "platform/Files.h"
#include "table/TSGrid.h"

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

    if (m_releasing) {
        TakeBackPayments();
        m_releasing = false;
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
    if (!QFileInfo(path).isFile()) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return;
    }
    m_cardGrid.AppendChangeLine(path, line);
}

void CardWorkspace::TakeBackPayments()
{
    const CardState& state = m_form.State();
    for (const QDate& month : state.paymentMonths) {
        const QString path = journal::JournalFileName(m_dataFolder, month.month(), month.year(),
                                                      journal::Kind::Income, m_settings.currency);
        m_cardGrid.AppendChangeLine(path, RegisterRemoveLine(state.key));
    }
    for (const QString& line : state.paymentLines) {
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
    const auto append = [this](const QString& path, const QString& line) {
        m_cardGrid.AppendChangeLine(path, line);
    };
    for (const QString& booking : m_pending) {
        if (!journal::AppendBooking(m_dataFolder, booking, m_settings.currency, m_settings.dmRate,
                                    append))
            continue;
        const QStringList cells = booking.mid(1).split(QLatin1Char('\t'));
        long double gross = 0;
        if (cells.size() < 7 || !TryStrToFloat(cells[5], &gross))
            continue;
        balances::AddToAccount(
            m_options, balances::AccountFor(cells[6], cells[2], m_settings.secondBusinessDefined),
            booking.left(1), gross, m_settings.dmRate);
    }
    m_pending.clear();
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

void CardWorkspace::ConfirmBsBooking(int row, const QStringList& fields)
{
    if (fields.size() < 7)
        return;
    QString receipt = fields[1];
    if (!m_settings.gobdRestrictions)
        receipt += QLatin1Char('*');  // a manual booking, which may be edited
    QString booking = m_form.State().currency.left(1).toUpper();
    for (const QString& cell :
         {fields[0], receipt, fields[2], fields[3], fields[4], fields[5], fields[6]}) {
        booking += cell;
        booking += QLatin1Char('\t');
    }
    const auto append = [this](const QString& path, const QString& line) {
        m_cardGrid.AppendChangeLine(path, line);
    };
    long double gross = 0;
    if (journal::AppendBooking(m_dataFolder, booking, m_settings.currency, m_settings.dmRate,
                               append) &&
        TryStrToFloat(fields[5], &gross)) {
        balances::AddToAccount(
            m_options, balances::AccountFor(fields[6], fields[2], m_settings.secondBusinessDefined),
            booking.left(1), gross, m_settings.dmRate);
    }
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
