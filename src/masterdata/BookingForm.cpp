#include "masterdata/BookingForm.h"

#include <algorithm>

#include "common/DateUtil.h"
#include "common/NumberFormat.h"
#include "common/UserPort.h"
#include "masterdata/PharmacyMarker.h"

namespace {

const QChar kUmlautU(0x00DC);  // Ü
const QChar kUmlautu(0x00FC);  // ü

// The price keys, and a minus in front: a booking is cancelled by the same amount with a
// minus, since a journal under the GoBD restrictions is corrected, never edited.
QChar FilterAmountKey(const FormField& field, QChar key)
{
    const QChar minus = QLatin1Char('-');
    if (key == minus)
        return field.InsertPos() == 0 && !field.TextWith(minus).mid(1).contains(minus) ? key
                                                                                       : QChar();
    if (!field.text.startsWith(minus))
        return FilterPriceKey(field, key);
    // The digits after the minus follow the price rules; nothing goes before it.
    if (key != kKeyBackspace && field.InsertPos() == 0 && field.selLength == 0)
        return {};
    FormField amount = field;
    amount.text.remove(0, 1);
    amount.cursor = std::max(0, field.cursor - 1);
    amount.selStart = std::max(0, field.selStart - 1);
    amount.selLength = field.selStart == 0 ? std::max(0, field.selLength - 1) : field.selLength;
    return FilterPriceKey(amount, key);
}

}  // namespace

BookingForm::BookingForm(EditMode mode, const PriceSettings& settings, bool income,
                         QDate journalMonth)
    : FormBase(kCount),
      m_mode(mode),
      m_settings(settings),
      m_income(income),
      m_journalMonth(journalMonth)
{
    const int lengths[kCount] = {10, 15, 100, 10, 10, 4, 1};
    for (int i = 0; i < kCount; ++i)
        m_fields[i].maxLength = lengths[i];
    m_fields[EinnBrutto].readOnly = true;
    m_fields[EinnDatum].readOnly = mode == EditMode::Edit;
    m_fields[EinnUst].SetText(FormatFloat(QStringLiteral("0.0"), settings.currentVat[0]));
    m_fields[EinnZArt].SetText(QStringLiteral("B"));
}

void BookingForm::Load(const QStringList& journalCells)
{
    const auto cell = [&](int i) {
        return i < journalCells.size() ? journalCells.at(i) : QString();
    };
    m_fields[EinnDatum].SetText(cell(0));
    m_fields[EinnBeleg].SetText(cell(1));
    m_fields[EinnKunde].SetText(cell(2));
    m_fields[EinnNetto].SetText(cell(3));
    m_fields[EinnUst].SetText(cell(4));
    m_fields[EinnBrutto].SetText(cell(5));
    m_fields[EinnZArt].SetText(cell(6));
    // A proposal names one amount (a card line's net or gross): that one is entered, the
    // other computed, or the booking would go to the journal without it.
    const bool noNet = cell(3).isEmpty();
    if (noNet != cell(5).isEmpty()) {
        m_fields[EinnNetto].readOnly = noNet;
        m_fields[EinnBrutto].readOnly = !noNet;
        Recompute();
    }
}

QString BookingForm::KundeCaption() const
{
    return m_income ? QStringLiteral("Kunde / Bezeichnung")
                    : QStringLiteral("Lieferant / Bezeichnung");
}

void BookingForm::SwitchNetBrutto()
{
    const bool netEditable = NetEditable();
    m_fields[EinnNetto].readOnly = netEditable;
    m_fields[EinnBrutto].readOnly = !netEditable;
    RequestFocus(netEditable ? EinnBrutto : EinnNetto, false);
}

QChar BookingForm::FilterKey(int id, QChar key)
{
    switch (id) {
        case EinnNetto:
        case EinnBrutto:
            return FilterAmountKey(m_fields[id], key);
        case EinnUst:
            if (key == QLatin1Char('.'))
                key = QLatin1Char(',');
            if (key == kKeyBackspace || key.isDigit())
                return key;
            if (key == QLatin1Char(',') && !m_fields[id].text.contains(QLatin1Char(',')))
                return key;
            return {};
        case EinnZArt: {
            if (key == kKeyBackspace)
                return key;
            if (key == QLatin1Char(' ')) {
                const QString now = m_fields[id].text;
                const QString next = now == QLatin1String("B")   ? QStringLiteral("S")
                                     : now == QLatin1String("S") ? QString(kUmlautU)
                                                                 : QStringLiteral("B");
                m_fields[id].SetText(next);
                return {};
            }
            const QChar upper = key == kUmlautu ? kUmlautU : key.toUpper();
            if (upper != QLatin1Char('B') && upper != QLatin1Char('S') && upper != kUmlautU)
                return {};
            m_fields[id].SelectAll();  // the letter replaces the field
            return upper;
        }
        default:
            return key;
    }
}

void BookingForm::TextChanged(int id)
{
    if (id == EinnUst || (id == EinnNetto && NetEditable()) || (id == EinnBrutto && !NetEditable()))
        Recompute();
}

void BookingForm::Recompute()
{
    const int from = NetEditable() ? EinnNetto : EinnBrutto;
    const int to = NetEditable() ? EinnBrutto : EinnNetto;
    long double amount = 0;
    if (!TryStrToFloat(m_fields[from].text, &amount)) {
        m_fields[to].SetText(QString());
        return;
    }
    long double vat = 0;
    if (!TryStrToFloat(m_fields[EinnUst].text, &vat)) {
        m_fields[to].SetText(QStringLiteral("0,00"));
        return;
    }
    const long double factor = 1 + vat / 100;
    const long double result = from == EinnNetto ? amount * factor : amount / factor;
    m_fields[to].SetText(FormatFloat(QStringLiteral("0.00"), result));
}

bool BookingForm::Leave(int id, bool)
{
    if ((id == EinnNetto || id == EinnBrutto) && !m_fields[id].readOnly) {
        if (!LeavePriceField(m_fields[id])) {
            RequestFocus(id);
            return false;
        }
        Recompute();
    }
    return true;
}

bool BookingForm::CheckOk(UserPort& port)
{
    FormField& date = m_fields[EinnDatum];
    QString dateText = date.text;
    if (m_mode != EditMode::Edit)
        dateText = dates::Normalize(dateText);
    QDate parsed;
    const bool valid = !dateText.isEmpty() && dates::TryParse(dateText, &parsed);
    if (!valid || (m_journalMonth.isValid() && (parsed.month() != m_journalMonth.month() ||
                                                parsed.year() != m_journalMonth.year()))) {
        if (valid)
            date.SetText(dateText);
        port.Message(MsgKind::Error, QStringLiteral("Datum ausserhalb gewählter Liste!"));
        RequestFocus(EinnDatum);
        return false;
    }
    date.SetText(dateText);
    if (!prices::SixRateTexts(m_settings).contains(m_fields[EinnUst].text)) {
        port.Message(MsgKind::Error, QStringLiteral("Fehler: Umsatzsteuer ungültig!"));
        RequestFocus(EinnUst);
        return false;
    }
    if (m_pharmacy)
        m_fields[EinnKunde].SetText(pharmacy::WithMarker(m_fields[EinnKunde].text));
    return true;
}
