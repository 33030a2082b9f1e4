#include "cards/CardSums.h"

#include "common/DateUtil.h"
#include "common/NumberFormat.h"
#include "common/UserPort.h"

namespace card {

namespace {

const QString k2 = QStringLiteral("0.00");
const QString k5 = QStringLiteral("0.00000");

bool IsVatCode(const QString& code)
{
    return code == QStringLiteral("1") || code == QStringLiteral("2") ||
           code == QStringLiteral("3");
}

}  // namespace

void TrimEmptyRows(Rows& rows)
{
    while (rows.size() > size_t(kMinRows) && rows.back().IsEmpty())
        rows.pop_back();
}

QDate RowDate(const Rows& rows, int row)
{
    for (int r = row; r >= 0; --r) {
        QDate date;
        if (dates::TryParse(rows[size_t(r)].Cell(kColDate), &date))
            return date;
    }
    return {};
}

CardSums SumCard(Rows& rows, CardState& state, const CardSettings& settings, UserPort& port,
                 const QDate& limit, FrozenSummary frozen)
{
    TrimEmptyRows(rows);
    CardSums sums;
    for (int r = 0; r < int(rows.size()); ++r) {
        Row& row = rows[size_t(r)];
        QDate own;
        if (limit.isValid() && dates::TryParse(row.Cell(kColDate), &own) && own > limit)
            break;

        long double amount = 0;
        if (!TryStrToFloat(row.Cell(kColAmount), &amount)) {
            row.Cell(kColAmount).clear();
            row.Cell(kColVat).clear();
            continue;
        }
        row.SetCell(kColAmount, FormatFloat(k5, amount));
        if (!IsVatCode(row.Cell(kColVat)))
            row.SetCell(kColVat, QStringLiteral("1"));

        const QDate date = RowDate(rows, r);
        if (!date.isValid()) {
            port.Message(MsgKind::Error,
                         QStringLiteral("Fehler in Kartei Nr. ") + state.key +
                             QStringLiteral("\rZeile ") + QString::number(r + 1) +
                             QStringLiteral(":  Kein gültiges Datum vorhanden!\r"
                                            "Neueingaben wurden nicht mehr summiert!"));
            return CardSums{};
        }

        const int group = settings.Group(row.Cell(kColVat), date);
        const long double factor = 1 + settings.GroupRate(group) / 100;
        const long double net = state.IsGross() ? amount / factor : amount;
        const long double vat = net * (factor - 1);
        sums.totalNet += net;
        const QString& mark = row.Cell(kColBS);
        if (mark == QStringLiteral("B"))
            sums.cashGross += net + vat;
        if (mark == QStringLiteral("B") || mark == QStringLiteral("S")) {
            sums.bsVat += vat;
        } else {
            sums.invoiceNet += net;
            sums.groupNet[size_t(group - 1)] += net;
            sums.groupVat[size_t(group - 1)] += vat;
        }
    }

    // Equal rates end in the lower group (old and current 7 % are one group), so each rate
    // is one row of the invoice and one group of a payment's split.
    std::array<QString, 6> rateTexts;
    for (int g = 1; g <= 6; ++g)
        rateTexts[size_t(g - 1)] = settings.GroupRateText(g);
    for (int j = 5; j >= 1; --j) {
        for (int i = 0; i < j; ++i) {
            if (rateTexts[size_t(i)] != rateTexts[size_t(j)])
                continue;
            sums.groupVat[size_t(i)] += sums.groupVat[size_t(j)];
            sums.groupNet[size_t(i)] += sums.groupNet[size_t(j)];
            sums.groupVat[size_t(j)] = 0;
            sums.groupNet[size_t(j)] = 0;
        }
    }

    for (long double vat : sums.groupVat)
        sums.invoiceVat += RoundCents(vat);
    sums.invoiceGross = sums.invoiceNet + sums.invoiceVat;
    sums.totalVat = sums.invoiceVat + sums.bsVat;
    sums.totalGross = sums.totalNet + sums.totalVat;
    sums.ok = true;
    // The invoice the customer got stays as it was printed, whatever the options say now.
    if (frozen == FrozenSummary::Keep && state.HasFrozenSummary())
        return sums;

    QStringList& summary = state.summary;
    while (summary.size() < kSumFee1)
        summary << QString();
    for (int g = 1; g <= 6; ++g) {
        summary[2 * (g - 1)] = rateTexts[size_t(g - 1)];
        summary[2 * (g - 1) + 1] = FormatFloat(k5, sums.groupVat[size_t(g - 1)]);
    }
    state.totalGross = FormatFloat(k2, sums.totalGross);
    state.totalNet = FormatFloat(k2, sums.totalNet);
    state.totalVat = FormatFloat(k2, sums.totalVat);
    state.cashGross = FormatFloat(k2, sums.cashGross);
    state.invoiceGross = FormatFloat(k2, sums.invoiceGross);
    summary[kSumInvoiceNet] = FormatFloat(k2, sums.invoiceNet);
    summary[kSumInvoiceVat] = FormatFloat(k2, sums.invoiceVat);
    summary[kSumInvoiceGross] = FormatFloat(k2, sums.invoiceGross);
    const bool dm = state.currency.startsWith(QLatin1Char('D'), Qt::CaseInsensitive);
    summary[kSumOtherCurrency] = FormatFloat(
        k2, dm ? sums.invoiceGross / settings.dmRate : sums.invoiceGross * settings.dmRate);
    PadSummary(summary);
    return sums;
}

}  // namespace card
