#include "common/FormField.h"

#include <algorithm>

#include "common/NumberFormat.h"

void FormField::SetText(const QString& value)
{
    text = value;
    cursor = int(text.size());
    selStart = cursor;
    selLength = 0;
}

void FormField::SelectAll()
{
    Select(0, int(text.size()));
}

void FormField::Select(int start, int length)
{
    selStart = std::clamp(start, 0, int(text.size()));
    selLength = std::clamp(length, 0, int(text.size()) - selStart);
    cursor = selStart + selLength;
}

QString FormField::TextWith(QChar ch) const
{
    QString result = text;
    if (selLength > 0)
        result.remove(selStart, selLength);
    result.insert(std::clamp(InsertPos(), 0, int(result.size())), ch);
    return result;
}

bool FormField::Insert(QChar ch)
{
    const QString result = TextWith(ch);
    if (maxLength > 0 && result.size() > maxLength)
        return false;
    const int pos = std::clamp(InsertPos(), 0, int(text.size()));
    text = result;
    cursor = pos + 1;
    selStart = cursor;
    selLength = 0;
    return true;
}

void FormField::Backspace()
{
    if (selLength > 0) {
        text.remove(selStart, selLength);
        cursor = selStart;
    } else if (cursor > 0) {
        text.remove(cursor - 1, 1);
        --cursor;
    }
    selStart = cursor;
    selLength = 0;
}

QChar FilterPriceKey(const FormField& field, QChar key)
{
    if (key == kKeyBackspace)
        return key;
    if (key == QLatin1Char('.'))
        key = QLatin1Char(',');
    const bool digit = key >= QLatin1Char('0') && key <= QLatin1Char('9');
    if (!digit && key != QLatin1Char(','))
        return {};
    QString rest = field.text;
    if (field.selLength > 0)
        rest.remove(field.selStart, field.selLength);
    const int comma = int(rest.indexOf(QLatin1Char(',')));
    if (key == QLatin1Char(','))
        return comma >= 0 ? QChar() : key;
    const int pos = field.InsertPos();
    if (comma < 0)
        return rest.size() >= 6 ? QChar() : key;
    if (pos <= comma)
        return comma >= 6 ? QChar() : key;
    if (comma >= 6 && rest.size() - comma - 1 >= 2)
        return {};
    return key;
}

bool LeavePriceField(FormField& field)
{
    if (field.text.trimmed().isEmpty())
        field.SetText(QStringLiteral("0"));
    long double value = 0;
    if (!TryStrToFloat(field.text, &value) || value > 999999.99L)
        return false;
    field.SetText(FormatFloat(QStringLiteral("0.00"), value));
    return true;
}

bool FormBase::KeyPress(int id, QChar key)
{
    FormField& field = m_fields[id];
    // Control keys other than backspace are the widget's business; a TAB in particular
    // would split the stored record.
    if (field.readOnly || (key.unicode() < 32 && key != kKeyBackspace))
        return false;
    const QChar ch = FilterKey(id, key);
    if (ch.isNull())
        return false;
    if (ch == kKeyBackspace) {
        field.Backspace();
    } else if (!field.Insert(ch)) {
        return false;
    }
    TextChanged(id);
    return true;
}

void FormBase::EditText(int id, const QString& text)
{
    FormField& field = m_fields[id];
    QString value = text;
    value.replace(QLatin1Char('\t'), QLatin1Char(' '));
    field.SetText(field.maxLength > 0 ? value.left(field.maxLength) : value);
    TextChanged(id);
}

void FormBase::SetText(int id, const QString& text)
{
    EditText(id, text);
}

int FormBase::TakeFocusRequest()
{
    const int id = m_focusRequest;
    m_focusRequest = -1;
    return id;
}

QChar FormBase::FilterKey(int, QChar key)
{
    return key;
}

void FormBase::RequestFocus(int id, bool selectAll)
{
    m_focusRequest = id;
    if (selectAll)
        m_fields[id].SelectAll();
}
