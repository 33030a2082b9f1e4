#include "masterdata/ServiceForm.h"

#include "common/NumberFormat.h"
#include "common/UserPort.h"

namespace {

const QString kDefaultFactor = QStringLiteral("1,0");

bool SameAmount(const QString& a, const QString& b)
{
    long double x = 0, y = 0;
    if (TryStrToFloat(a, &x) && TryStrToFloat(b, &y))
        return x == y;
    return a == b;
}

}  // namespace

ServiceForm::ServiceForm(EditMode mode, const PriceSettings& settings, UserPort& port)
    : FormBase(kCount), m_mode(mode), m_settings(settings), m_port(port)
{
    const int lengths[kCount] = {60, 30, 9, 4, 9, 9, 1, 15, 100};
    for (int i = 0; i < kCount; ++i)
        m_fields[i].maxLength = lengths[i];
    m_fields[LeistungVerkMitSt].readOnly = true;
    m_fields[Faktor].SetText(kDefaultFactor);
    m_fields[LeistungUSt].SetText(QStringLiteral("1"));
}

void ServiceForm::Load(const QStringList& cells)
{
    for (int i = 0; i < kCount && i < cells.size(); ++i)
        m_fields[i].SetText(cells.at(i));
    m_openedFee = m_fields[GOTNetto].text;
    m_openedKey = m_fields[Leistung].text + QLatin1Char('\t') + m_fields[LeistungTier].text;
}

QChar ServiceForm::FilterKey(int id, QChar key)
{
    if (id == GOTNetto || id == LeistungVerkNetto)
        return FilterPriceKey(m_fields[id], key);
    if (id == Faktor) {
        // The factor is a small decimal: digits, one comma, backspace.
        if (key == QLatin1Char('.'))
            key = QLatin1Char(',');
        if (key == kKeyBackspace || (key >= QLatin1Char('0') && key <= QLatin1Char('9')))
            return key;
        if (key == QLatin1Char(',') && m_fields[Faktor].TextWith(key).count(QLatin1Char(',')) <= 1)
            return key;
        return {};
    }
    return key;
}

void ServiceForm::TextChanged(int id)
{
    if (id == LeistungVerkNetto || id == LeistungUSt)
        m_fields[LeistungVerkMitSt].SetText(prices::GrossFromNet(
            m_fields[LeistungVerkNetto].text, m_fields[LeistungUSt].text, m_settings));
}

QString ServiceForm::UstRateLabel() const
{
    return prices::VatRateLabel(m_fields[LeistungUSt].text, m_settings);
}

bool ServiceForm::FeeGiven(long double* fee) const
{
    const QString g = m_fields[GOTNetto].text;
    if (g.trimmed().isEmpty() || g == QLatin1String("0,00"))
        return false;
    return TryStrToFloat(g, fee);
}

long double ServiceForm::FactorValue() const
{
    long double f = 0;
    TryStrToFloat(m_fields[Faktor].text, &f);
    return f;
}

void ServiceForm::SetSaleNet(long double value)
{
    SetText(LeistungVerkNetto, FormatFloat(QStringLiteral("0.00"), value));
}

bool ServiceForm::Leave(int id, bool closingOk)
{
    switch (id) {
        case GOTNetto:
            return LeaveFee();
        case Faktor:
            return LeaveFactor(closingOk);
        case LeistungVerkNetto:
            return LeaveSaleNet();
        default:
            return true;
    }
}

bool ServiceForm::LeaveFee()
{
    FormField& g = m_fields[GOTNetto];
    if (!m_fields[LeistungGot].text.isEmpty() && !SameAmount(g.text, m_openedFee)) {
        const Answer a = m_port.Message(
            MsgKind::Warning,
            QStringLiteral(
                "Wollen Sie wirklich den Preis ändern ?\rEr entspricht dann nicht mehr der GOT !"),
            Buttons::YesNo);
        if (a != Answer::Yes)
            g.SetText(m_openedFee);
    }
    if (!LeavePriceField(g)) {
        RequestFocus(GOTNetto);
        return false;
    }
    return true;
}

bool ServiceForm::LeaveFactor(bool closingOk)
{
    FormField& f = m_fields[Faktor];
    long double factor = 0;
    const bool parsed = TryStrToFloat(f.text, &factor);
    long double fee = 0;
    const bool feeGiven = FeeGiven(&fee);
    if (m_fields[GOTNetto].text == QLatin1String("0,00") || !parsed || factor == 0) {
        factor = 1;
    }
    f.SetText(prices::FormatFactor(factor));
    TryStrToFloat(f.text, &factor);
    if (feeGiven)
        SetSaleNet(factor * fee);
    else
        m_fields[GOTNetto].SetText(QStringLiteral("0,00"));
    if (!closingOk && (factor < prices::kMinFactor || factor > prices::kMaxFactor)) {
        m_port.Message(MsgKind::Information, QStringLiteral("GOT-Faktor-Bereich (1..3)!"));
        f.SetText(kDefaultFactor);
        // The sale net must not keep the refused factor's price.
        if (feeGiven)
            SetSaleNet(fee);
        RequestFocus(Faktor);
        return false;
    }
    return true;
}

bool ServiceForm::LeaveSaleNet()
{
    FormField& s = m_fields[LeistungVerkNetto];
    if (!LeavePriceField(s)) {
        RequestFocus(LeistungVerkNetto);
        return false;
    }
    TextChanged(LeistungVerkNetto);
    long double sale = 0;
    TryStrToFloat(s.text, &sale);
    long double fee = 0;
    if (!FeeGiven(&fee)) {
        if (!m_fields[LeistungGot].text.isEmpty()) {
            SetText(LeistungVerkNetto, QStringLiteral("0,00"));
            m_fields[Faktor].SetText(kDefaultFactor);
        } else {
            // The factor only defaults; a factor already there divides the sale net.
            if (FactorValue() == 0)
                m_fields[Faktor].SetText(kDefaultFactor);
            if (m_fields[GOTNetto].text.trimmed().isEmpty())
                m_fields[GOTNetto].SetText(
                    FormatFloat(QStringLiteral("0.00"), sale / FactorValue()));
        }
        return true;
    }
    const long double factor = FactorValue();
    if (s.text == FormatFloat(QStringLiteral("0.00"), factor * fee))
        return true;
    QString newFactorText = FormatFloat(QStringLiteral("0.00"), sale / fee);
    if (newFactorText.size() == 4 && newFactorText.endsWith(QLatin1Char('0')))
        newFactorText.chop(1);
    long double newFactor = 0;
    TryStrToFloat(newFactorText, &newFactor);
    if (newFactor < prices::kMinFactor || newFactor > prices::kMaxFactor) {
        m_port.Message(MsgKind::Information,
                       QStringLiteral(" Preis liegt ausserhalb des\rGOT-Faktor-Bereichs (1..3)!"));
        SetSaleNet(factor * fee);
        RequestFocus(LeistungVerkNetto);
        return false;
    }
    m_fields[Faktor].SetText(newFactorText);
    SetSaleNet(newFactor * fee);
    return true;
}

bool ServiceForm::CheckOk(const MasterTableView& table)
{
    const QString text = m_fields[Leistung].text;
    const QString species = m_fields[LeistungTier].text;
    const QString key = text + QLatin1Char('\t') + species;
    const bool check =
        (m_mode == EditMode::Insert && table.RecordCount() > 0) ||
        (m_mode == EditMode::Edit && key.compare(m_openedKey, Qt::CaseInsensitive) != 0);
    if (check && table.RecordCount() > 0) {
        const int pos = table.FindSorted(key);
        const auto same = [&](int col, const QString& value) {
            return table.Cell(pos, col).compare(value, Qt::CaseInsensitive) == 0;
        };
        if (same(1, text) && same(2, species) && same(8, m_fields[LeistungGot].text)) {
            m_port.Message(MsgKind::Error,
                           QStringLiteral("Fehler: Datensatz (Leistung) existiert bereits!"));
            RequestFocus(Leistung);
            return false;
        }
    }
    return true;
}

QStringList ServiceForm::Cells() const
{
    QStringList cells;
    for (int i = 0; i < kCount; ++i)
        cells << m_fields[i].text;
    return cells;
}
