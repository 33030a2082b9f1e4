// What closing a card needs of the workspace: the stored card number, the next card and
// the snapshot a stopped close returns to.
#include "cards/CardClosing.h"
#include "cards/CardWorkspace.h"
#include "common/NumberFormat.h"
#include "table/TSGrid.h"

namespace card {

int CardWorkspace::StoredCardNumber() const
{
    int stored = 0;
    return TryStrToInt(CustomerValue(kCustCardNumber), &stored) ? stored : -1;
}

bool CardWorkspace::OpenNextCard(int card, const Rows& carried)
{
    return WriteNextCard(card, carried) && ShowNextCard(card);
}

bool CardWorkspace::WriteNextCard(int card, const Rows& carried)
{
    const int record = m_customerRecord;
    const QString number = CustomerCell(kCustNumber, record);
    const QString path = FilePath(m_dataFolder, number, card);
    const QStringList header = NewCardHeader(
        number, card,
        NewCardCustomerText(CustomerCell(kCustName, record), CustomerCell(kCustFirstName, record),
                            CustomerCell(kCustTown, record)),
        m_settings.currency);
    Rows rows = NextCardRows(carried);
    while (int(rows.size()) < m_cardGrid.VisibleDataRows())
        rows.emplace_back();
    // The grid writes the file; it shows the open card again afterwards.
    const QStringList shown = m_cardGrid.Lines();
    m_cardGrid.SetLines(LinesFromRows(rows));
    const bool written = m_cardGrid.SaveCard(path, header);
    m_cardGrid.SetLines(shown);
    return written;
}

bool CardWorkspace::ShowNextCard(int card)
{
    const int record = m_customerRecord;
    const QString path = FilePath(m_dataFolder, CustomerCell(kCustNumber, record), card);
    StoreCardNumber(record, card);
    return ShowCard(record, path, card);
}

CardWorkspace::Snapshot CardWorkspace::TakeSnapshot() const
{
    return {m_form.GetRows(), m_form.State(), m_pending};
}

void CardWorkspace::Restore(const Snapshot& snapshot)
{
    m_form.GetRows() = snapshot.rows;
    m_form.State() = snapshot.state;
    m_pending = snapshot.pending;
}

}  // namespace card
