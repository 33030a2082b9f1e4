// Record card files: rows, the marker line and the header lines. Loading never crashes; a
// header the card accepts is written back so that it is accepted again with the same
// state; payment lines are read without crashing, whatever they hold.
#include "FuzzSupport.h"
#include "cards/CardFile.h"
#include "cards/CardHeader.h"
#include "table/RecordLine.h"
#include "table/TSGrid.h"

namespace {

// An unknown amount mode is written as "Netto", which is what the card showed.
bool SameState(const card::CardState& a, const card::CardState& b)
{
    return a.key == b.key && a.customerText == b.customerText &&
           a.customerNumber == b.customerNumber && a.totalNet == b.totalNet &&
           a.totalVat == b.totalVat && a.totalGross == b.totalGross && a.cashGross == b.cashGross &&
           a.invoiceGross == b.invoiceGross && a.invoiceDate == b.invoiceDate &&
           a.openAmountExact == b.openAmountExact && a.currency == b.currency &&
           a.IsGross() == b.IsGross() && a.reminder1 == b.reminder1 && a.reminder2 == b.reminder2 &&
           a.summary == b.summary;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static fuzz::SilentPort port;
    static const auto env = fuzz::Environment();
    const QString path = fuzz::WriteInput(QStringLiteral("K0012001.KAR"), data, size);
    TSGrid grid(port, env);
    grid.SetColCount(recordline::kCardCells + 1);
    QStringList header;
    if (!grid.LoadCard(path, header))
        return 0;
    card::Rows rows = card::RowsFromLines(grid.Lines());
    card::CutForSave(rows);
    (void)card::LinesFromRows(rows);
    card::CorrectHeaderKey(header, 1);

    card::CardState state;
    if (card::ApplyHeader(header, state)) {
        const QStringList written = card::BuildHeader(state);
        card::CardState again;
        fuzz::Check(card::ApplyHeader(written, again), "a header the card accepted is accepted");
        fuzz::Check(SameState(state, again), "writing a header keeps the card's state");
    }
    const QStringList payments = card::PaymentLines(header);
    for (const QString& line : payments) {
        card::PaymentLine payment;
        card::ParsePaymentLine(line, &payment);
        (void)card::PaymentDate(line);
    }
    (void)card::PaymentMonths(payments);
    return 0;
}
