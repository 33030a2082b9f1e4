#include "masterdata/PricePanel.h"

#include "common/NumberFormat.h"
#include "common/UserPort.h"
#include "table/RecordLine.h"

using namespace recordline;

namespace {

const QString k2 = QStringLiteral("0.00");

// A plain number or a fraction a/b (an empty b counts as 1), each part and the result in
// cents, as the record card takes a quantity over.
bool QuantityValue(const QString& typed, long double* value)
{
    QString text = typed;
    text.remove(QLatin1Char(' '));
    const qsizetype slash = text.indexOf(QLatin1Char('/'));
    long double a = 0;
    long double b = 1;
    if (!TryStrToFloat(slash < 0 ? text : text.left(slash), &a))
        return false;
    if (slash >= 0 && !text.mid(slash + 1).isEmpty() && !TryStrToFloat(text.mid(slash + 1), &b))
        return false;
    a = RoundCents(a);
    b = RoundCents(b);
    if (b == 0 || a < 0 || b < 0)
        return false;
    *value = RoundCents(a / b);
    return true;
}

long double Number(const QString& text)
{
    long double v = 0;
    return TryStrToFloat(text, &v) ? v : 0;
}

// The surcharge price takes rate 2 or 3 for those codes and rate 1 for any other.
long double SurchargeRate(const QString& code, const PriceSettings& settings)
{
    long double rate = 0;
    if (!prices::VatRateForCode(code, settings, &rate))
        prices::VatRateForCode(QStringLiteral("1"), settings, &rate);
    return rate;
}

QString Amounts(long double net, long double gross, const PriceSettings& settings)
{
    const QString currency = settings.euro ? QStringLiteral(" Euro") : QStringLiteral(" DM");
    return FormatFloat(k2, net) + currency + QStringLiteral(" netto / ") + FormatFloat(k2, gross) +
           currency + QStringLiteral(" brutto");
}

const QString kNoQuantity = QStringLiteral("Menge ungültig");

}  // namespace

PricePanel::PricePanel(UserPort& port) : m_port(port)
{
    m_factor.maxLength = 4;
}

void PricePanel::SelectService(const QString& serviceLine)
{
    m_factor.SetText(Cell(serviceLine, kSvcFactor));
}

bool PricePanel::FactorKey(QChar key)
{
    if (key == kKeyBackspace) {
        m_factor.Backspace();
        return true;
    }
    if (key == QLatin1Char('.'))
        key = QLatin1Char(',');
    const bool digit = key >= QLatin1Char('0') && key <= QLatin1Char('9');
    if (!digit && !(key == QLatin1Char(',') && m_factor.TextWith(key).count(QLatin1Char(',')) <= 1))
        return false;
    return m_factor.Insert(key);
}

void PricePanel::LeaveFactor(const QString& serviceLine)
{
    const QString own = Cell(serviceLine, kSvcFactor);
    long double factor = 0;
    if (!TryStrToFloat(m_factor.text, &factor) || factor == 0) {
        m_factor.SetText(own);
        return;
    }
    m_factor.SetText(prices::FormatFactor(factor));
    TryStrToFloat(m_factor.text, &factor);
    if (factor < prices::kMinFactor || factor > prices::kMaxFactor) {
        m_port.Message(MsgKind::Information, QStringLiteral("GOT-Faktor-Bereich (1..3)!"));
        m_factor.SetText(own);
    }
}

QString PricePanel::MedicationQuote(const QString& line, const QString& quantityText,
                                    const PriceSettings& settings)
{
    m_visible = true;
    long double quantity = 0;
    if (!QuantityValue(quantityText, &quantity))
        return kNoQuantity;
    const QString q = FormatFloat(k2, quantity);
    if (m_hundredPercent) {
        // Refilled and repacked medicines: twice the purchase price, VAT of the code on top.
        const long double purchase = Number(Cell(line, kMedPurchaseNet));
        const long double net = purchase * quantity * 2;
        const long double gross =
            net * (1 + SurchargeRate(Cell(line, kMedVatCode), settings) / 100);
        return QStringLiteral("100% Aufschlag: ") + q + QStringLiteral(" x 2 x ") +
               FormatFloat(k2, purchase) + QStringLiteral(" = ") + Amounts(net, gross, settings);
    }
    const long double net = Number(Cell(line, kMedSaleNet));
    const long double gross = Number(Cell(line, kMedSaleGross));
    return q + QStringLiteral(" x ") + FormatFloat(k2, net) + QStringLiteral(" = ") +
           Amounts(net * quantity, gross * quantity, settings);
}

QString PricePanel::ServiceQuote(const QString& line, const QString& quantityText,
                                 const PriceSettings& settings)
{
    m_visible = true;
    long double quantity = 0;
    if (!QuantityValue(quantityText, &quantity))
        return kNoQuantity;
    const QString q = FormatFloat(k2, quantity);
    const long double fee = Number(Cell(line, kSvcFeeNet));
    long double factor = 0;
    const bool otherFactor = fee != 0 && TryStrToFloat(m_factor.text, &factor) &&
                             m_factor.text != Cell(line, kSvcFactor);
    long double net = Number(Cell(line, kSvcNet));
    long double gross = Number(Cell(line, kSvcGross));
    if (otherFactor) {
        // The price the record dialog would store for this factor, and its gross.
        net = RoundCents(fee * factor);
        gross =
            Number(prices::GrossFromNet(FormatFloat(k2, net), Cell(line, kSvcVatCode), settings));
    }
    QString text = q + QStringLiteral(" x ");
    if (fee != 0)
        text += FormatFloat(k2, fee) + QStringLiteral(" x Faktor ") +
                (otherFactor ? m_factor.text : Cell(line, kSvcFactor));
    else
        text += FormatFloat(k2, net);
    return text + QStringLiteral(" = ") + Amounts(net * quantity, gross * quantity, settings);
}
