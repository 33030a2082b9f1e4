#include "masterdata/PriceRules.h"

#include <algorithm>

#include "common/NumberFormat.h"
#include "common/UserPort.h"
#include "table/RecordLine.h"

namespace prices {

bool VatRateForCode(const QString& code, const PriceSettings& settings, long double* rate)
{
    if (code == QLatin1String("1") || code == QLatin1String("2") || code == QLatin1String("3")) {
        *rate = settings.currentVat[code.at(0).unicode() - '1'];
        return true;
    }
    return false;
}

QString VatRateLabel(const QString& code, const PriceSettings& settings)
{
    long double rate = 0;
    if (!VatRateForCode(code, settings, &rate))
        return QStringLiteral("---");
    return FormatFloat(QStringLiteral("0.0"), rate);
}

QString GrossFromNet(const QString& netText, const QString& vatCode, const PriceSettings& settings)
{
    long double net = 0;
    if (netText.trimmed().isEmpty() || !TryStrToFloat(netText, &net))
        return {};
    long double rate = 0;
    if (!VatRateForCode(vatCode, settings, &rate))
        rate = 0;
    return FormatFloat(QStringLiteral("0.00"), net * (1 + rate / 100));
}

namespace {

struct AmpvRow {
    long double euroLimit;
    long double dmLimit;
    bool multiply;
    long double euroValue;
    long double dmValue;
};

// Band A: the first row whose limit is not below the amount applies (limits inclusive).
constexpr AmpvRow kAmpvRows[] = {
    {1.22L, 2.40L, true, 1.68L, 1.68L},    {1.34L, 2.63L, false, 0.83L, 1.63L},
    {3.88L, 7.60L, true, 1.62L, 1.62L},    {4.22L, 8.26L, false, 2.41L, 4.71L},
    {7.30L, 14.28L, true, 1.57L, 1.57L},   {8.67L, 16.96L, false, 4.16L, 8.14L},
    {12.14L, 23.75L, true, 1.48L, 1.48L},  {13.55L, 26.51L, false, 5.83L, 11.40L},
    {19.42L, 38.00L, true, 1.43L, 1.43L},  {22.57L, 44.16L, false, 8.35L, 16.34L},
    {29.14L, 57.00L, true, 1.37L, 1.37L},  {35.94L, 70.30L, false, 10.78L, 21.09L},
    {51.13L, 100.00L, true, 1.30L, 1.30L},
};

}  // namespace

long double AmpvMarkup(long double purchase, bool euro, bool humanPreparation)
{
    if (euro && humanPreparation)
        return purchase * 1.03L + 8.10L;
    const long double l1 = euro ? 51.13L : 100.0L;
    const long double l2 = euro ? 76.69L : 150.0L;
    const long double a = std::min(purchase, l1);
    const long double b = std::min(purchase - a, l2);
    const long double c = purchase - a - b;
    long double marked = a;
    for (const AmpvRow& row : kAmpvRows) {
        if ((euro ? row.euroLimit : row.dmLimit) >= a) {
            const long double value = euro ? row.euroValue : row.dmValue;
            marked = row.multiply ? a * value : a + value;
            break;
        }
    }
    return marked + 1.25L * b + 1.20L * c;
}

AmpvResult Ampv(const QString& purchaseText, bool euro, bool humanPreparation)
{
    long double purchase = 0;
    if (!TryStrToFloat(purchaseText, &purchase))
        return {QStringLiteral("0,00"), QStringLiteral("0,00")};
    const QString shown = FormatFloat(QStringLiteral("0.00"), purchase);
    TryStrToFloat(shown, &purchase);
    return {shown,
            FormatFloat(QStringLiteral("0.00"), AmpvMarkup(purchase, euro, humanPreparation))};
}

QString AmpvToolTip(bool humanPreparation)
{
    return humanPreparation ? QStringLiteral("EinkNetto--> VerkNetto nach AMPV §3 (1) Satz 2")
                            : QStringLiteral("EinkNetto--> VerkNetto nach AMPV §3 (3)");
}

QString FormatFactor(long double factor)
{
    QString text = FormatFloat(QStringLiteral("0.00"), factor);
    if (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    return text;
}

QStringList SixRateTexts(const PriceSettings& settings)
{
    QStringList texts;
    for (long double rate : settings.currentVat)
        texts << FormatFloat(QStringLiteral("0.0"), rate);
    for (long double rate : settings.previousVat)
        texts << FormatFloat(QStringLiteral("0.0"), rate);
    return texts;
}

void RecalculateGross(QStringList& lines, int netCol, int grossCol, int codeCol,
                      const PriceSettings& settings)
{
    for (QString& line : lines) {
        const QString net = recordline::Cell(line, netCol);
        long double rate = 0;
        QString gross = net;
        if (VatRateForCode(recordline::Cell(line, codeCol), settings, &rate)) {
            long double value = 0;
            // A net that is no number is copied like one with an unknown code.
            if (TryStrToFloat(net, &value))
                gross = FormatFloat(QStringLiteral("0.00"), value * (1 + rate / 100));
        }
        recordline::SetCell(line, grossCol, gross);
    }
}

bool RecalculateAllGross(UserPort& port, QStringList& rateTexts, VatRecalcTarget& target)
{
    port.Message(MsgKind::Information,
                 QStringLiteral("Brutto-Preise in den Tabellen\rMedikamente/ Leistungen werden "
                                "neu berechnet!"));
    PriceSettings settings;
    bool valid = rateTexts.size() == 6;
    for (int i = 0; valid && i < 6; ++i) {
        long double rate = 0;
        valid = TryStrToFloat(rateTexts.at(i), &rate);
        if (i < 3)
            settings.currentVat[i] = rate;
        else
            settings.previousVat[i - 3] = rate;
    }
    if (!valid) {
        port.Message(MsgKind::Error, QStringLiteral("Fehler: MwSt-Sätze ungültig!"));
        rateTexts = QStringList(6, QStringLiteral("0"));
        return false;
    }
    target.ShowCurrentRate(FormatFloat(QStringLiteral("0.0"), settings.currentVat[0]));
    RecalculateGross(target.ServiceLines(), recordline::kSvcNet, recordline::kSvcGross,
                     recordline::kSvcVatCode, settings);
    target.SaveServices();
    RecalculateGross(target.MedicationLines(), recordline::kMedSaleNet, recordline::kMedSaleGross,
                     recordline::kMedVatCode, settings);
    target.SaveMedications();
    target.ResetQuantities();
    target.ReloadBatchIfShown();
    return true;
}

}  // namespace prices
