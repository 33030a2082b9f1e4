#include "masterdata/QuantityFields.h"

#include "common/NumberFormat.h"

namespace {

constexpr int kMaxLength = 21;  // "999999,99/999999,99" and a little room
constexpr long double kMaxValue = 999999.99L;

bool IsDigit(QChar ch)
{
    return ch >= QLatin1Char('0') && ch <= QLatin1Char('9');
}

bool PartValue(const QString& text, long double* value)
{
    return TryStrToFloat(text, value) && *value >= 0 && *value <= kMaxValue;
}

}  // namespace

QuantityFields::QuantityFields()
{
    for (FormField* f : {&m_med, &m_service}) {
        f->maxLength = kMaxLength;
        f->SetText(kDefault);
    }
}

QChar QuantityFields::FilterKey(const FormField& field, QChar key)
{
    if (key == kKeyBackspace)
        return key;
    if (key == QLatin1Char('.'))
        key = QLatin1Char(',');
    if (!IsDigit(key) && key != QLatin1Char(',') && key != QLatin1Char('/'))
        return {};
    QString rest = field.text;
    if (field.selLength > 0)
        rest.remove(field.selStart, field.selLength);
    const int pos = field.InsertPos();
    const int slash = int(rest.indexOf(QLatin1Char('/')));
    if (key == QLatin1Char('/'))
        return slash >= 0 ? QChar() : key;
    // The part of the text the key lands in: before or after the slash.
    const bool inDenominator = slash >= 0 && pos > slash;
    const int partStart = inDenominator ? slash + 1 : 0;
    const int partEnd = slash >= 0 && !inDenominator ? slash : int(rest.size());
    const QString part = rest.mid(partStart, partEnd - partStart);
    const int comma = int(part.indexOf(QLatin1Char(',')));
    if (key == QLatin1Char(','))
        return comma >= 0 ? QChar() : key;
    const int at = pos - partStart;
    if (comma < 0)
        return part.size() >= 6 ? QChar() : key;
    if (at <= comma)
        return comma >= 6 ? QChar() : key;
    return part.size() - comma - 1 >= 2 ? QChar() : key;
}

bool QuantityFields::KeyPress(Which which, QChar key)
{
    FormField& field = Field(which);
    const QChar accepted = FilterKey(field, key);
    if (accepted.isNull())
        return false;
    if (accepted == kKeyBackspace) {
        field.Backspace();
        return true;
    }
    return field.Insert(accepted);
}

QString QuantityFields::Normalised(const QString& typed)
{
    QString text = typed;
    text.remove(QLatin1Char(' '));
    if (text.isEmpty())
        return kDefault;
    const qsizetype slash = text.indexOf(QLatin1Char('/'));
    long double a = 0;
    if (slash < 0)
        return PartValue(text, &a) ? FormatFloat(QStringLiteral("0.00"), a) : kDefault;
    // A fraction with nothing to share or a share of nothing is no quantity.
    long double b = 1;
    const QString denominator = text.mid(slash + 1);
    if (!PartValue(text.left(slash), &a) ||
        (!denominator.isEmpty() && (!PartValue(denominator, &b) || b == 0)))
        return kDefault;
    return text;
}

void QuantityFields::Leave(Which which)
{
    FormField& field = Field(which);
    const QString text = Normalised(field.text);
    if (text != field.text)
        field.SetText(text);
}

void QuantityFields::Reset()
{
    m_med.SetText(kDefault);
    m_service.SetText(kDefault);
}

void QuantityFields::SetBoth(const QString& quantity)
{
    m_med.SetText(quantity);
    m_service.SetText(quantity);
}
